// SPDX-License-Identifier: Apache-2.0
#include "game/sounds.h"

namespace lautgarten {

QStringList phonemes(const QString& ipa) {
    // Primary and secondary stress, long and half-long, syllable break, linking and tie bars.
    static const QString dropped = QStringLiteral("ˈˌːˑ.‿\u0361\u035c ");
    static const QStringList affricates = {QStringLiteral("ts"), QStringLiteral("tʃ"),
                                           QStringLiteral("pf"), QStringLiteral("dʒ")};
    QString plain;
    for (const QChar c : ipa.normalized(QString::NormalizationForm_C)) {
        if (!dropped.contains(c))
            plain += c;
    }
    QStringList result;
    for (qsizetype at = 0; at < plain.size();) {
        qsizetype length = affricates.contains(plain.mid(at, 2)) ? 2 : 1;
        // Diacritics (a nasal or non-syllabic mark) belong to the letter before them.
        while (at + length < plain.size() && plain.at(at + length).isMark())
            ++length;
        result.append(plain.mid(at, length));
        at += length;
    }
    return result;
}

bool beginsWithSound(const QString& ipa, const QStringList& sounds) {
    const QStringList spoken = phonemes(ipa);
    for (const QString& sound : sounds) {
        const QStringList start = phonemes(sound);
        if (!start.isEmpty() && spoken.mid(0, start.size()) == start)
            return true;
    }
    return false;
}

bool firstSoundsMeet(const QStringList& these, const QStringList& those) {
    for (const QString& one : these) {
        const QStringList first = phonemes(one).mid(0, 1);
        for (const QString& other : those) {
            if (!first.isEmpty() && phonemes(other).mid(0, 1) == first)
                return true;
        }
    }
    return false;
}

} // namespace lautgarten
