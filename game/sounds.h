// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

namespace lautgarten {

// How a word or a sound is spoken, in IPA, as a list of phonemes: stress, length and syllable
// marks are dropped, and the affricates ts, tʃ, pf and dʒ are one phoneme each, so "tsˈeːbʁa"
// gives ts e b ʁ a and "ʃtˈɛʁn" gives ʃ t ɛ ʁ n.
QStringList phonemes(const QString& ipa);

// Whether the spoken form ipa begins with one of sounds, compared phoneme by phoneme. "aɪ"
// begins with "a"; "ts" does not begin with "t".
bool beginsWithSound(const QString& ipa, const QStringList& sounds);

// Whether two lists of spoken beginnings (IPA) share a first sound: the first phoneme of one of
// these is the first phoneme of one of those, whichever list is longer. Affricates are one
// phoneme ("ts" is not "t").
bool firstSoundsMeet(const QStringList& these, const QStringList& those);

} // namespace lautgarten
