// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdint>

namespace lautgarten {

class Form1;

// The start page: how the game is played, and the player's name. "Spiel starten" (or Enter in
// the name box) puts the name on the main window, starts the clock and closes the page.
class Form3 : public platform::Form {
    Q_OBJECT
public:
    explicit Form3(lautgarten::Form1& owner);

    // The instructions, lines separated and ended by CR LF.
    static const QString Instructions;

    void Form_Paint();
    void Text1_KeyPress(int16_t& KeyAscii);
    void Command1_Click();

    // Controls, from the top of the stacking order down.
    platform::PictureBox Picture3{this};
    platform::PictureBox Picture2{this};
    QPlainTextEdit Text2{this};
    QLineEdit Text1{this};
    QPushButton Command1{QStringLiteral("Spiel starten"), this};
    platform::PictureBox Picture1{this};
    platform::Label Label1{QStringLiteral("Bitte gib deinen Namen ein!"), this};

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    lautgarten::Form1& Form1;
};

} // namespace lautgarten
