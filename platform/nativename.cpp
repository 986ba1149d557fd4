// SPDX-License-Identifier: Apache-2.0
#include "platform/nativename.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <climits>
#include <dirent.h>
#include <memory>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifndef Q_OS_WIN
bool decodable(const QByteArray& name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

QByteArray workingFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray(".");
}
#else
// Windows keeps names in UTF-16, which Qt reads whole: there every name can be listed and opened.
QByteArray workingFolder() {
    return QDir::currentPath().toUtf8();
}
#endif

} // namespace

QString escapedName(const QByteArray& name) {
    QString text;
    for (qsizetype at = 0; at < name.size();) {
        const uchar lead = uchar(name[at]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const QByteArray character = name.mid(at, length);
        const QString decoded = QString::fromUtf8(character);
        // Overlong forms, lone continuation bytes and cut characters do not survive the round trip.
        if (lead >= 0x80 && (lead < 0xC2 || lead > 0xF4 || decoded.toUtf8() != character ||
                             decoded == QChar::ReplacementCharacter)) {
            text += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++at;
            continue;
        }
        text += decoded;
        at += length;
    }
    return text;
}

#ifdef Q_OS_WIN
QStringList undecodableEntries(const QString&) {
    return {};
}

QString enterFolder(const QByteArray& folder) {
    return QString::fromUtf8(folder); // the checker reads its command line in UTF-16
}
#else
QStringList undecodableEntries(const QString& folder) {
    QStringList names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(QFile::encodeName(folder).constData()),
                                                  closedir);
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (!decodable(name))
            names.append(escapedName(name));
    }
    names.sort();
    return names;
}

QString enterFolder(const QByteArray& folder) {
    if (decodable(folder))
        return QFile::decodeName(folder);
    if (chdir(folder.constData()) != 0)
        return {};
    return QStringLiteral(".");
}
#endif

QString pathOnDisk(const QString& path) {
    if (path.isEmpty() || !QDir::isRelativePath(path) || path.startsWith(QLatin1Char(':')))
        return path;
    const QString cleaned = QDir::cleanPath(path);
    const QString folder = escapedName(workingFolder());
    const QString text =
        cleaned == QLatin1String(".") ? folder : folder + QLatin1Char('/') + cleaned;
    // cleanPath drops a closing slash, which tells a folder from a file
    return path.endsWith(QLatin1Char('/')) && !text.endsWith(QLatin1Char('/'))
               ? text + QLatin1Char('/')
               : text;
}

} // namespace platform
