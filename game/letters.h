// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <array>

namespace lautgarten {

// One entry of the letter table: the letter or letter group a page asks for, and how a word of
// its folder may begin when spoken (IPA, alternatives separated by blanks).
struct Letter {
    const char* entry;
    const char* sounds;

    QString text() const { return QString::fromUtf8(entry); }
    QStringList soundList() const {
        return QString::fromUtf8(sounds).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
};

// How many entries the letter table holds after its empty entry 0: one for each LETTER line of
// game/library.def.
inline constexpr int LetterCount = 0
#define LETTER(entry, sounds) +1
#define BOX(name, width, height)
#include "game/library.def"
#undef LETTER
#undef BOX
    ;

// Entries 1 to LetterCount of the letter table, as game/library.def lists them.
inline constexpr std::array<Letter, LetterCount> Letters = {{
#define LETTER(entry, sounds) {entry, sounds},
#define BOX(name, width, height)
#include "game/library.def"
#undef LETTER
#undef BOX
}};

// The picture boxes, in pixels: AnswerBox, LetterBox, FaceBox.
#define LETTER(entry, sounds)
#define BOX(name, width, height) inline constexpr QSize name##Box{width, height};
#include "game/library.def"
#undef LETTER
#undef BOX

// The entries once each, in table order: each has one letter picture and one folder.
inline QStringList letterEntries() {
    QStringList entries;
    for (const Letter& letter : Letters) {
        if (!entries.contains(letter.text()))
            entries.append(letter.text());
    }
    return entries;
}

} // namespace lautgarten
