// SPDX-License-Identifier: Apache-2.0
#include "windows/form2.h"

#include "game/form1.h"
#include "game/letters.h"
#include "platform/guard.h"
#include "platform/icon.h"
#include "platform/layout.h"
#include "platform/scale.h"

#include <QKeyEvent>
#include <QScreen>

namespace lautgarten {

using namespace platform;

Form2::Form2(lautgarten::Form1& owner)
    : Form1(owner) {
    setWindowTitle(QStringLiteral("Form2"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setColors(this, Qt::black, SystemColor::ActiveTitleText);
    resize(twips(11130), twips(9240));
    PageArea.setDesignSize(lautgarten::Form1::PageTwips);

    place(&Picture1, "Picture1", Place::sized(4560, 2400, FaceBox));
    Picture1.setBackColor(SystemColor::SelectionText);
    Picture1.setCursor(Qt::PointingHandCursor);
    connectGuarded(&Picture1, &PictureBox::Click, this, [this] { Picture1_Click(); });

    // Maximized: the borderless window covers the screen, so the whole face shows. Without a
    // window manager the state alone would leave it at the size of its layout.
    // On the screen that shows the main window: a beamer, maybe, not the laptop.
    if (QScreen* screen = gameScreen()) {
        setScreen(screen);
        setGeometry(screen->availableGeometry());
    }
    setWindowState(Qt::WindowMaximized);
}

void Form2::Picture1_Click() {
    Form1.Form2.Unload();
}

void Form2::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

} // namespace lautgarten
