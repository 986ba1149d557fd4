// SPDX-License-Identifier: Apache-2.0
#include "platform/app.h"

#include "platform/nativename.h"

#include <QCoreApplication>

#ifndef Q_OS_WIN
#include <climits>
#include <unistd.h>
#endif

namespace platform {

// The program's folder is read as bytes: Qt cannot name a folder with bytes that are not UTF-8
// (a school's install folder "Schüler" copied from an old archive), and would look for the
// picture library in a folder that does not exist.
AppInfo AppInfo::fromExecutable() {
#ifndef Q_OS_WIN
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length > 0 && length < ssize_t(sizeof buffer)) {
        QByteArray folder(buffer, length);
        folder.truncate(folder.lastIndexOf('/'));
        const QString path = enterFolder(folder.isEmpty() ? QByteArray("/") : folder);
        if (!path.isEmpty())
            return AppInfo{path};
    }
#endif
    return AppInfo{QCoreApplication::applicationDirPath()};
}

} // namespace platform
