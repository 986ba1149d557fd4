// SPDX-License-Identifier: Apache-2.0
#include "platform/screencheck.h"

#include <QByteArrayList>
#include <QDir>
#include <QLibraryInfo>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

QtMessageHandler previous = nullptr;
bool checking = false;
QString requested; // the platform asked for on the command line, if any
QByteArrayList heldBack;

// Why the screen could not be reached, as far as the environment tells.
QString cause() {
    QString platform = requested.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : requested;
    platform = platform.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    if (platform.isEmpty())
        platform = QStringLiteral("xcb");
    // The plugin of a platform is named after it, "wayland" as libqwayland-generic.so.
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                       QStringLiteral("/platforms"));
    if (plugins.entryList({QStringLiteral("libq%1*.so").arg(platform)}, QDir::Files).isEmpty())
        return QStringLiteral("Die Bildschirmanbindung „%1“ ist nicht installiert.").arg(platform);
    if (platform == QLatin1String("xcb")) {
        const QString display = qEnvironmentVariable("DISPLAY");
        if (display.isEmpty())
            return QStringLiteral("Die Umgebungsvariable DISPLAY ist nicht gesetzt (etwa bei einer "
                                  "Anmeldung über ssh ohne -X).");
        return QStringLiteral("Die Anzeige „%1“ (DISPLAY) ist nicht erreichbar.").arg(display);
    }
    if (platform == QLatin1String("wayland")) {
        QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
        if (display.isEmpty())
            display = QStringLiteral("wayland-0");
        return QStringLiteral("Unter „%1“ (WAYLAND_DISPLAY) läuft kein Wayland-Compositor.")
            .arg(display);
    }
    return QStringLiteral("Die Bildschirmanbindung „%1“ ließ sich nicht starten.").arg(platform);
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        heldBack.append(qFormatLogMessage(type, context, message).toLocal8Bit());
        return;
    }
    const QString text = QStringLiteral("Lautgarten: kein Bildschirm. %1 Lautgarten braucht "
                                        "einen grafischen Bildschirm; bitte in einer Sitzung mit "
                                        "Bildschirm starten.\n")
                             .arg(cause());
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

ScreenCheck::ScreenCheck(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            requested = QString::fromLocal8Bit(argv[i + 1]);
    }
    checking = true;
    previous = qInstallMessageHandler(handler);
}

void ScreenCheck::passed() {
    if (!checking)
        return;
    checking = false;
    qInstallMessageHandler(previous);
    for (const QByteArray& line : std::exchange(heldBack, {}))
        std::fprintf(stderr, "%s\n", line.constData());
}

} // namespace platform
