// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/fonts.h"
#include "platform/guard.h"
#include "platform/scale.h"
#include "platform/screencheck.h"
#include "platform/speech.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Read while the application and its scale are made (platform/fonts.h).
    platform::startReadingFontConfiguration();
    platform::ScreenCheck screenCheck(argc, argv);
    QApplication app(argc, argv);
    screenCheck.passed();
    QApplication::setApplicationName(QStringLiteral("Lautgarten"));
    QApplication::setApplicationVersion(QStringLiteral(LAUTGARTEN_VERSION));
    // The speech's audio loads once the start page is up (platform/speech.h).
    platform::Speech::loadAfterFirstPaint(QApplication::applicationDirPath());
    // The substitutes shipped beside the program (see platform/fonts.h).
    platform::loadFontsFrom(QApplication::applicationDirPath() + QStringLiteral("/fonts"));
    // Without a screen nobody could close an error box; the error still goes to stderr.
    const QString screenless = QApplication::platformName();
    platform::FatalErrorReport::showMessageBox =
        screenless != QLatin1String("offscreen") && screenless != QLatin1String("minimal");

    // One scale for every window, found before the first one is made.
    const QRect maximized = platform::fitToScreen(lautgarten::Form1::PageTwips);
    lautgarten::Form1 form1;
    platform::guarded([&form1] { form1.Form_Load(); });
    // Where no window manager maximizes the window, it takes the maximized place itself.
    if (!maximized.isEmpty())
        form1.setGeometry(maximized);
    form1.showMaximized();
    // Moved to a beamer, the game takes the scale of the beamer, and so does every window after.
    platform::followScreen(&form1, lautgarten::Form1::PageTwips);
    return QApplication::exec();
}
