// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/speech.h"

#include <QList>
#include <QString>

namespace lautgarten::Voice {

// What the game says, from the sound files of its picture library, which lie beside what they
// voice:
//
//   images/<Buchstabe>/<Wort>.wav   a picture's word, beside images/<Buchstabe>/<Wort>.png
//   images/laute/<Buchstabe>.wav    a letter's sound (its Anlaut: "mmm", "sch", never "em")
//   images/saetze/<Satz>.wav        the phrases of the feedback
//
// A file that is not there is passed over: a picture without its word is not spoken, and a
// sentence that would miss its word is not said at all.

// The folders in images/ of the letters' sounds and of the feedback's phrases.
inline constexpr char SoundsFolder[] = "laute";
inline constexpr char PhrasesFolder[] = "saetze";
// The feedback's phrases, by their file names without ".wav": "Richtig!", "Am Anfang hörst du:",
// "Probier's noch mal!".
inline constexpr char Praise[] = "richtig";
inline constexpr char Lead[] = "am-anfang-hoerst-du";
inline constexpr char Again[] = "nochmal";

// The sound file of a picture's word: the picture's name with ".wav".
QString wordFile(const QString& picturePath);
// The sound of a letter or letter group (an entry of the letter table).
QString letterSoundFile(const QString& imagesPath, const QString& entry);
// One of the feedback's phrases (Praise, Lead, Again).
QString phraseFile(const QString& imagesPath, const QString& name);

// A page's sound, said when the page appears and when the child clicks the letter.
QList<platform::SoundPiece> letterSound(const QString& imagesPath, const QString& entry);
// A picture's word, said when the mouse rests on it.
QList<platform::SoundPiece> word(const QString& picturePath);
// The feedback after an answer, about the picture clicked, whose word begins with the sound of
// the entry heard ("Maus" with "m"):
//   right: "Richtig!" – the word – "Am Anfang hörst du:" – its sound
//   wrong: the word – "Am Anfang hörst du:" – its sound – "Probier's noch mal!"
QList<platform::SoundPiece> feedback(bool right, const QString& imagesPath,
                                     const QString& picturePath, const QString& heard);

} // namespace lautgarten::Voice
