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

} // namespace lautgarten
