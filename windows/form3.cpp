// SPDX-License-Identifier: Apache-2.0
#include "windows/form3.h"

#include "game/form1.h"
#include "platform/guard.h"
#include "platform/icon.h"
#include "platform/layout.h"

#include <QKeyEvent>
#include <QPaintEvent>

namespace lautgarten {

using namespace platform;

namespace {

const QColor LightBlue{128, 128, 255};

} // namespace

const QString Form3::Instructions = QStringLiteral("Zu jedem Anfangsbuchstaben \r\n"
                                                   "werden jeweils drei Bilder gezeigt. \r\n"
                                                   "Nur eines der dargestellten Bilder \r\n"
                                                   "auf jeder Seite beginnt mit dem \r\n"
                                                   "entsprechenden Buchstaben. Mit \r\n"
                                                   "einem Klick auf das richtige Bild \r\n"
                                                   "erscheint als Bestätigung ein Smilie \r\n"
                                                   "und mit einem weiteren Klick auf den \r\n"
                                                   "Smilie geht es weiter zur nächsten \r\n"
                                                   "Seite.\r\n"
                                                   "Bei einer falschen Antwort \r\n"
                                                   "erscheint ein \"Weinie\", wird dieser \r\n"
                                                   "angeklickt, erscheint nochmals das \r\n"
                                                   "vorherige Bild, um die Antwort zu \r\n"
                                                   "korrigieren.\r\n");

Form3::Form3(lautgarten::Form1& owner)
    : Form1(owner) {
    setWindowTitle(QStringLiteral("Lautgarten"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setColors(this, Qt::black, LightBlue);
    setFixedDesignSize(this, {10890, 7650});

    place(&Picture3, "Picture3", {4440, 4680, 2295, 2415});
    Picture3.setBackColor(LightBlue);
    Picture3.setPicture(LoadPicture(QStringLiteral(":/pictures/deko-klein.png")));

    place(&Picture2, "Picture2", {7680, 360, 2535, 2535});
    Picture2.setBackColor(LightBlue);
    Picture2.setPicture(LoadPicture(QStringLiteral(":/pictures/deko-gross.png")));

    place(&Text2, "Text2", {6960, 3120, 3735, 4335});
    // The application's font is this one already (Form1), so the box was made with it and
    // setting it lays nothing out again.
    setDesignFont(&Text2, QStringLiteral("Verdana"), 9.75);
    setColors(&Text2, QColor(0, 0, 192), Qt::white);
    Text2.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The box is as narrow as the longest line; Qt's wider margin would break it once more.
    Text2.document()->setDocumentMargin(1);

    place(&Text1, "Text1", {120, 5760, 3855, 525});
    setDesignFont(&Text1, QStringLiteral("Verdana"), 12, true, true);
    setColors(&Text1, Qt::blue, Qt::white);
    Text1.installEventFilter(this);

    place(&Command1, "Command1", {480, 6600, 3255, 735});
    setDesignFont(&Command1, QStringLiteral("Verdana"), 14.25, true);
    // Enter belongs to the name box; the button must not take it as well.
    Command1.setAutoDefault(false);
    connectGuarded(&Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    place(&Picture1, "Picture1", {120, 0, 10215, 4215});
    Picture1.setBackColor(Qt::white);
    Picture1.setPicture(LoadPicture(QStringLiteral(":/pictures/banner.png")));

    place(&Label1, "Label1", {240, 5280, 3855, 375});
    setDesignFont(&Label1, QStringLiteral("Verdana"), 12, true, true);
    setColors(&Label1, QColor(192, 0, 0), LightBlue);

    // A control listed earlier lies over a later one.
    for (QWidget* control : std::initializer_list<QWidget*>{&Label1, &Picture1, &Command1, &Text1,
                                                            &Text2, &Picture2, &Picture3})
        control->raise();

    setTabOrder(&Picture1, &Command1);
    setTabOrder(&Command1, &Text1);
    setTabOrder(&Text1, &Text2);
    setTabOrder(&Text2, &Picture2);
    setTabOrder(&Picture2, &Picture3);

    // The text last, once the box has its font, margin and size: every change before it would
    // lay the whole text out again.
    Text2.setPlainText(QString(Instructions).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// The name box takes the focus back whenever the page is painted.
void Form3::Form_Paint() {
    Text1.setFocus();
}

void Form3::Text1_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii == 13)
        Command1_Click();
}

void Form3::Command1_Click() {
    Form1.Label4.setText(Text1.text());
    Form1.Timer1.setEnabled(true);
    Form1.Form3.Unload();
}

void Form3::paintEvent(QPaintEvent* event) {
    Form::paintEvent(event);
    // A control without a background of its own repaints the page beneath it; a pressed button
    // does so, and taking the focus then would cancel its click. Only the page's own surface
    // being painted counts.
    if (!(event->region() - childrenRegion()).isEmpty())
        guarded([this] { Form_Paint(); });
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter || !key->text().isEmpty()) {
            int16_t KeyAscii = enter ? int16_t(13) : int16_t(key->text().at(0).unicode());
            guarded([this, &KeyAscii] { Text1_KeyPress(KeyAscii); });
            // Enter has closed the page; nothing else may act on that key.
            if (KeyAscii == 13)
                return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace lautgarten
