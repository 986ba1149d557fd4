// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace lautgarten {

// What the picture library says of a picture beside the picture itself, in a text file of the
// same name (images/s/Socken.png -> images/s/Socken.txt), one item a line:
//
//   # Andere Namen, die Kinder für dieses Bild sagen:
//   Strumpf
//   Anlaut: f
//
// Every line names another word that children say for the picture at first sight, except a line
// "Anlaut: <Buchstabe>", which names the letter whose sound the word begins with where that is
// not its folder's ("Vogel" in the folder v begins with the sound of f). Empty lines and lines
// that begin with "#" are passed over. A picture without such a file has neither.
struct PictureNames {
    QStringList others;
    QString anlaut; // an entry of the letter table, or empty

    // The file beside a picture that holds them.
    static QString fileFor(const QString& picturePath);
    // The names of a picture as its file gives them; none where there is no such file or it is
    // no text file of a sensible size.
    static PictureNames of(const QString& picturePath);
    // The same, read from the text of such a file; lines it cannot take go to problems.
    static PictureNames parse(const QString& text, QStringList* problems = nullptr);

    // Whether a child who says one of these names (or hears the word's own first sound, where
    // the file names it) hears the first sound of the letter at table index letter.
    bool soundLike(int16_t letter) const;
};

// The letter table index of the entry a word begins with as a child would write it: the longest
// entry it starts with ("Strumpf" is "st", "Schal" is "sch"), a "c" taken as "k" and "ph" as "f"
// ("Cookie", "Photo"); 0 where none fits.
int16_t letterOfWord(const QString& word);

} // namespace lautgarten
