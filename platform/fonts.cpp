// SPDX-License-Identifier: Apache-2.0
#include "platform/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <cstdio>
#include <thread>

#ifndef Q_OS_WIN
#include <fontconfig/fontconfig.h>
#endif

namespace platform {

namespace {

// Joined at the latest when the program ends, also where it ends before the first window.
struct Reading {
    std::thread thread;
    ~Reading() { finish(); }
    void finish() {
        if (thread.joinable())
            thread.join();
    }
};

Reading& reading() {
    static Reading configuration;
    return configuration;
}

} // namespace

void startReadingFontConfiguration() {
#ifndef Q_OS_WIN
    // fontconfig keeps the configuration it reads first; Qt's own FcInit() then finds it read.
    reading().thread = std::thread([] { FcInit(); });
#endif
}

void finishReadingFontConfiguration() {
    reading().finish();
}

QStringList loadFontsFrom(const QString& folder) {
    QStringList families;
    const QStringList patterns = {QStringLiteral("*.ttf"), QStringLiteral("*.otf"),
                                  QStringLiteral("*.ttc"), QStringLiteral("*.otc")};
    const QFileInfoList files =
        QDir(folder).entryInfoList(patterns, QDir::Files | QDir::Readable, QDir::Name);
    if (!files.isEmpty())
        finishReadingFontConfiguration();
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
