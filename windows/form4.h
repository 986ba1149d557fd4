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

    // A line of the list as it is drawn: whole where it fits, else with the player's name cut
    // short in its middle, so that the date, the time and the hits always show, left of the bird
    // where the line passes it. The item keeps the whole line, for a screen reader.
    QString lineAsShown(int row) const;
    // The same for a line drawn in the rows room covers (in the list's own coordinates).
    QString lineAsShown(const QString& line, const QRect& room, const QFontMetrics& metrics) const;

    platform::PictureBox Picture1{this};
    QPushButton Command1{QStringLiteral("zurück zum Spiel"), this};
    QListWidget List1{this};

    void reject() override {}

private:
    lautgarten::Form1& Form1;
};

} // namespace lautgarten
