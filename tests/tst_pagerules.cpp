// SPDX-License-Identifier: Apache-2.0
// The page rules without a window, an event loop or files: how spoken forms are compared.

#include "game/sounds.h"

#include <QTest>

using lautgarten::beginsWithSound;
using lautgarten::phonemes;

class TestPageRules : public QObject {
    Q_OBJECT

private slots:
    // Spoken forms as espeak-ng writes them split into the phonemes a child hears: marks that
    // are no sound of their own must not hide a first sound, and an affricate is one sound.
    void phonemesOfSpokenForms_data();
    void phonemesOfSpokenForms();
    // A word begins with a sound only phoneme by phoneme: "Zebra" does not begin with "t".
    void firstSounds_data();
    void firstSounds();
};

void TestPageRules::phonemesOfSpokenForms_data() {
    QTest::addColumn<QString>("ipa");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Zebra") << QStringLiteral("tsˈɛbɾɑː") << QStringList{"ts", "ɛ", "b", "ɾ", "ɑ"};
    QTest::newRow("Stern") << QStringLiteral("ʃtˈɛɾn") << QStringList{"ʃ", "t", "ɛ", "ɾ", "n"};
    QTest::newRow("Chips") << QStringLiteral("tʃˈɪps") << QStringList{"tʃ", "ɪ", "p", "s"};
    QTest::newRow("Pferd") << QStringLiteral("pfˈeːɾt") << QStringList{"pf", "e", "ɾ", "t"};
    QTest::newRow("Eimer") << QStringLiteral("ˈaɪmɜ") << QStringList{"a", "ɪ", "m", "ɜ"};
    QTest::newRow("tie bar") << QStringLiteral("t͡sa") << QStringList{"ts", "a"};
    QTest::newRow("non-syllabic mark") << QStringLiteral("ʊ̯ɐ") << QStringList{"ʊ̯", "ɐ"};
}

void TestPageRules::phonemesOfSpokenForms() {
    QFETCH(QString, ipa);
    QFETCH(QStringList, expected);
    QCOMPARE(phonemes(ipa), expected);
}

void TestPageRules::firstSounds_data() {
    QTest::addColumn<QString>("ipa");
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<bool>("begins");
    QTest::newRow("Zebra, t") << QStringLiteral("tsˈɛbɾɑː") << QStringLiteral("t") << false;
    QTest::newRow("Zebra, ts") << QStringLiteral("tsˈɛbɾɑː") << QStringLiteral("ts") << true;
    QTest::newRow("Eimer, a") << QStringLiteral("ˈaɪmɜ") << QStringLiteral("a ɑ") << true;
    QTest::newRow("Affe, ei") << QStringLiteral("ˈafə") << QStringLiteral("aɪ") << false;
    QTest::newRow("Vogel, f") << QStringLiteral("fˈoːɡəl") << QStringLiteral("f") << true;
    QTest::newRow("Stern, sch") << QStringLiteral("ʃtˈɛɾn") << QStringLiteral("ʃ") << true;
    QTest::newRow("Schaf, st") << QStringLiteral("ʃˈɑːf") << QStringLiteral("ʃt") << false;
    QTest::newRow("Xylophon, k") << QStringLiteral("ksˈyːlofˌoːn") << QStringLiteral("k") << true;
    QTest::newRow("Esel, long e") << QStringLiteral("ˈeːzəl") << QStringLiteral("e ɛ") << true;
    QTest::newRow("no sounds") << QStringLiteral("ˈafə") << QString() << false;
}

void TestPageRules::firstSounds() {
    QFETCH(QString, ipa);
    QFETCH(QString, sounds);
    QFETCH(bool, begins);
    QCOMPARE(beginsWithSound(ipa, sounds.split(QLatin1Char(' '), Qt::SkipEmptyParts)), begins);
}

QTEST_GUILESS_MAIN(TestPageRules)
#include "tst_pagerules.moc"
