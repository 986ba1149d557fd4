// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/form.h"
#include "platform/picturebox.h"

#include <QListWidget>
#include <QPushButton>

namespace lautgarten {

class Form1;

// The results window: one line per finished game, oldest first, for as long as the program
// runs. It is only ever hidden; "zurück zum Spiel" is the only way back into play.
class Form4 : public platform::Form {
    Q_OBJECT
public:
    explicit Form4(lautgarten::Form1& owner);

    void Command1_Click();

    platform::PictureBox Picture1{this};
    QPushButton Command1{QStringLiteral("zurück zum Spiel"), this};
    QListWidget List1{this};

    void reject() override {}

private:
    lautgarten::Form1& Form1;
};

} // namespace lautgarten
