// SPDX-License-Identifier: Apache-2.0
#include "platform/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <cstdio>

namespace platform {

QStringList loadFontsFrom(const QString& folder) {
    QStringList families;
    const QStringList patterns = {QStringLiteral("*.ttf"), QStringLiteral("*.otf"),
                                  QStringLiteral("*.ttc"), QStringLiteral("*.otc")};
    const QFileInfoList files =
        QDir(folder).entryInfoList(patterns, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& file : files) {
        const int id = QFontDatabase::addApplicationFont(file.absoluteFilePath());
        if (id < 0) {
            // A broken substitute only costs its look; the game goes on with the system's faces.
            std::fprintf(stderr, "Lautgarten: Die Schrift %s ließ sich nicht laden.\n",
                         qUtf8Printable(QDir::toNativeSeparators(file.absoluteFilePath())));
            continue;
        }
        for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
            if (!families.contains(family))
                families.append(family);
        }
    }
    return families;
}

} // namespace platform
