// SPDX-License-Identifier: Apache-2.0
#include "platform/nativename.h"

#include <QDir>
#include <QFile>
#include <climits>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace platform {

namespace {

bool decodable(const QByteArray& name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

QByteArray workingFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray(".");
}

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
