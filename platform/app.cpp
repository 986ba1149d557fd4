// SPDX-License-Identifier: Apache-2.0
#include "platform/app.h"

#include <QCoreApplication>

namespace platform {

AppInfo AppInfo::fromExecutable() {
    return AppInfo{QCoreApplication::applicationDirPath()};
}

} // namespace platform
