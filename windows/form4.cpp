// SPDX-License-Identifier: Apache-2.0
#include "windows/form4.h"

#include "game/form1.h"
#include "platform/clickshield.h"
#include "platform/guard.h"
#include "platform/layout.h"

#include <QGuiApplication>
#include <QScreen>

namespace lautgarten {

using namespace platform;

Form4::Form4(lautgarten::Form1& owner)
    : Form1(owner) {
    setWindowTitle(QStringLiteral("Form4"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setColors(this, SystemColor::ButtonText, SystemColor::ButtonFace);
    setFixedSize(twips(9375), twips(5550));

    place(&List1, "List1", {0, 0, 9375, 4890});
    List1.setFont(designFont(QStringLiteral("Haettenschweiler"), 15.75, true, true));
    setColors(&List1, QColor(255, 128, 128), SystemColor::MenuText);
    List1.setFrameShape(QFrame::NoFrame);
    List1.setSelectionMode(QAbstractItemView::NoSelection); // lines are only read
    List1.setTextElideMode(Qt::ElideNone);
    List1.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    place(&Command1, "Command1", {0, 4920, 9375, 615});
    Command1.setFont(designFont(QStringLiteral("Verdana"), 14.25, true));
    Command1.setAutoDefault(false);
    connectGuarded(&Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    // It may open over an answer being double-clicked, and the clock opens it while a child
    // may be clicking.
    ClickShield::protect(&Command1);
    setOpensUnasked(true);

    // The bird lies over the right part of the list.
    place(&Picture1, "Picture1", {6960, 960, 1935, 2655});
    Picture1.setBackColor(SystemColor::ButtonText);
    Picture1.setPicture(LoadPicture(QStringLiteral(":/pictures/bird.gif")));
    Picture1.raise();

    setTabOrder(&List1, &Command1);
    setTabOrder(&Command1, &Picture1);
    List1.setFocus();

    // Centred on the screen: the window has no owner to centre on.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

// "zurück zum Spiel": the clock runs again from the next interval; hiding ends the wait of
// the game's end, which then resets the clock and the hits.
void Form4::Command1_Click() {
    Form1.Timer1.setEnabled(true);
    setVisible(false);
}

} // namespace lautgarten
