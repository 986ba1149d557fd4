// SPDX-License-Identifier: Apache-2.0
// The page rules without a window, an event loop or files: which letter, which wrong letters,
// which box and which file a page gets, and how spoken forms are compared.

#include "game/letters.h"
#include "game/names.h"
#include "game/page.h"
#include "game/sounds.h"
#include "testsupport.h"

#include <QSet>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <deque>
#include <random>

using lautgarten::beginsWithSound;
using lautgarten::Letters;
using lautgarten::Page;
using lautgarten::PagePicture;
using lautgarten::phonemes;

using namespace testsupport::rnd;

namespace {

QString entry(int index) {
    return Letters[std::size_t(index - 1)].text();
}

// Both indexes of "st", one index of every other entry.
QList<int16_t> indexesOf(const QString& text) {
    QList<int16_t> indexes;
    for (int16_t index = 1; index <= 35; ++index) {
        if (entry(index) == text)
            indexes.append(index);
    }
    return indexes;
}

// Draws a page from scripted values (then from a fixed generator) on folders of filesPerFolder
// files, and keeps what the page asked of its library, in order.
struct Drawing {
    std::deque<double> script;
    std::function<int16_t(int16_t)> filesPerFolder = [](int16_t) { return int16_t(2); };
    // Whether a child may call a picture by a name that sounds like the page: none by default.
    std::function<bool(int16_t, const PagePicture&)> namedLikePage;
    std::mt19937 generator{7};
    QStringList steps; // "letter 2", "list 2", "show b/1 in 0"

    Page draw() {
        steps.clear();
        return lautgarten::drawPage({
            .Rnd =
                [this] {
                    if (script.empty())
                        return std::uniform_real_distribution<double>(0, 1)(generator);
                    const double value = script.front();
                    script.pop_front();
                    return value;
                },
            .letterDrawn =
                [this](int16_t index) { steps << QStringLiteral("letter %1").arg(index); },
            .filesIn =
                [this](int16_t index) {
                    steps << QStringLiteral("list %1").arg(index);
                    return filesPerFolder(index);
                },
            .pictureDrawn =
                [this](const PagePicture& picture) {
                    steps << QStringLiteral("show %1/%2 in %3")
                                 .arg(entry(picture.letter))
                                 .arg(picture.file)
                                 .arg(picture.slot);
                },
            .namedLikePage = namedLikePage,
        });
    }
};

} // namespace

class TestPageRules : public QObject {
    Q_OBJECT

private slots:
    // Which value chooses what, in which order, and what the page asks of its library between
    // the draws; including the redraws of a wrong letter that repeats an index or begins with
    // the page's letter, and of a box that is taken.
    void drawOrder_data();
    void drawOrder();
    // A wrong picture that children may call by a name sounding like the page is drawn again,
    // letter and file; a library whose every picture carries such a name still gives a page.
    void namedLikePage();
    // Every index 1..35 can be the page's letter, at both ends of its range of values; 0 never.
    void everyIndexReachable();
    // Pages from the generator always hold three different letters in three different boxes,
    // and a file of each folder's listing.
    void pagesAreConsistent();
    // A folder with one file always gives that file.
    void singleFileFolder();
    // No wrong picture on a page shares its first sound with the page, either way round, by
    // spelling or by ear, under either index of "st"; and sounds that only look alike are no
    // trap.
    void trapsByEar_data();
    void trapsByEar();
    // However many pages are ruled out, every letter keeps enough wrong letters to vary.
    void everyLetterKeepsTenDecoys();
    // Spoken forms as espeak-ng writes them split into the phonemes a child hears: marks that
    // are no sound of their own must not hide a first sound, and an affricate is one sound.
    void phonemesOfSpokenForms_data();
    void phonemesOfSpokenForms();
    // What a picture's names file says: other names, a word's own first letter, and the lines a
    // teacher may get wrong; and on which pages the picture would be a trap.
    void pictureNames_data();
    void pictureNames();
    // A word's letter as a child would write it: the longest entry, "c" as "k", "ph" as "f".
    void letterOfWord_data();
    void letterOfWord();
    // A word begins with a sound only phoneme by phoneme: "Zebra" does not begin with "t".
    void firstSounds_data();
    void firstSounds();
};

void TestPageRules::drawOrder_data() {
    QTest::addColumn<QList<double>>("script");
    QTest::addColumn<QStringList>("steps");

    // letter b, its file 1, box 1; wrong m (box 1 taken, redrawn to 2), file 0; second wrong:
    // b and m are redrawn, ö, file 1 into the box left over.
    QTest::newRow("plain") << QList<double>{letter(2),  pick(1, 2), box(1),    letter(13),
                                            pick(0, 2), box(1),     box(2),    letter(2),
                                            letter(13), letter(33), pick(1, 2)}
                           << QStringList{"letter 2",      "list 2",  "show b/1 in 1", "list 13",
                                          "show m/0 in 2", "list 33", "show ö/1 in 0"};
    // A page for "s" offers no "sch", "sp" or "st" as wrong answers, under either "st" index.
    QTest::newRow("s page") << QList<double>{letter(19), pick(0, 2), box(0),     letter(30),
                                             letter(31), letter(29), letter(32), letter(19),
                                             letter(1),  pick(1, 2), box(2),     letter(1),
                                             letter(27), pick(0, 2)}
                            << QStringList{"letter 19",     "list 19", "show s/0 in 0", "list 1",
                                           "show a/1 in 2", "list 27", "show au/0 in 1"};
    // Both indexes of "st": the other one is no wrong answer on a "st" page, nor is "sch", which
    // begins with the same sound.
    QTest::newRow("st page") << QList<double>{letter(32), pick(1, 2), box(2),     letter(29),
                                              letter(19), pick(0, 2), box(0),     letter(29),
                                              letter(19), letter(30), letter(20), pick(0, 2)}
                             << QStringList{"letter 32",     "list 32", "show st/1 in 2", "list 19",
                                            "show s/0 in 0", "list 20", "show t/0 in 1"};
    // Neither "a" nor "ei" is a wrong answer for "au": a child hears the "a" of "Affe" at the
    // start of "Auto".
    QTest::newRow("au page") << QList<double>{letter(27), pick(1, 2), box(0), letter(1),
                                              letter(5),  pick(1, 2), box(1), letter(28),
                                              letter(2),  pick(0, 2)}
                             << QStringList{"letter 27",     "list 27", "show au/1 in 0", "list 5",
                                            "show e/1 in 1", "list 2",  "show b/0 in 2"};
    // Neither "au" nor "ei" is a wrong answer for "a": both begin with its sound.
    QTest::newRow("a page") << QList<double>{letter(1),  pick(0, 2), box(1),    letter(27),
                                             letter(5),  pick(0, 2), box(0),    letter(27),
                                             letter(28), letter(20), pick(1, 2)}
                            << QStringList{"letter 1",      "list 1",  "show a/0 in 1", "list 5",
                                           "show e/0 in 0", "list 20", "show t/1 in 2"};
    // The two "st" indexes may both be wrong letters on another page.
    QTest::newRow("both st wrong")
        << QList<double>{letter(33), pick(0, 2), box(2),     letter(29),
                         pick(1, 2), box(0),     letter(32), pick(0, 2)}
        << QStringList{"letter 33",      "list 33", "show ö/0 in 2", "list 29",
                       "show st/1 in 0", "list 32", "show st/0 in 1"};
}

void TestPageRules::drawOrder() {
    QFETCH(QList<double>, script);
    QFETCH(QStringList, steps);
    Drawing drawing;
    drawing.script.assign(script.begin(), script.end());
    drawing.draw();
    QCOMPARE(drawing.steps, steps);
    QCOMPARE(drawing.script.size(), std::size_t(0)); // every value used, none more
}

void TestPageRules::namedLikePage() {
    Drawing drawing;
    // "m/0" sounds like the page ("Maus" called "Bär" on a "b" page).
    drawing.namedLikePage = [](int16_t page, const PagePicture& picture) {
        return page == 2 && picture.letter == 13 && picture.file == 0;
    };
    drawing.script = {letter(2),  pick(1, 2), box(1), letter(13), pick(0, 2),
                      letter(13), pick(1, 2), box(0), letter(14), pick(0, 2)};
    drawing.draw();
    QCOMPARE(drawing.steps, (QStringList{"letter 2", "list 2", "show b/1 in 1", "list 13",
                                         "list 13", "show m/1 in 0", "list 14", "show n/0 in 2"}));
    QCOMPARE(drawing.script.size(), std::size_t(0));

    drawing.namedLikePage = [](int16_t, const PagePicture&) { return true; };
    const Page page = drawing.draw();
    QCOMPARE(drawing.steps.count(QStringLiteral("letter %1").arg(page.letter)), 1);
    QCOMPARE(drawing.steps.filter(QStringLiteral("show")).size(), 3);
}

void TestPageRules::everyIndexReachable() {
    Drawing drawing;
    for (int index = 1; index <= 35; ++index) {
        for (double r : {(index - 1) / 35.0, std::nextafter(index / 35.0, 0.0)}) {
            drawing.script = {r};
            QCOMPARE(int(drawing.draw().letter), index);
        }
    }
}

void TestPageRules::pagesAreConsistent() {
    Drawing drawing;
    drawing.filesPerFolder = [](int16_t index) { return int16_t(1 + index % 4); };
    QSet<int> letters;
    for (int n = 0; n < 2000; ++n) {
        const Page page = drawing.draw();
        const auto& [right, first, second] = page.pictures;
        letters.insert(page.letter);
        QVERIFY(page.letter >= 1 && page.letter <= 35);
        QCOMPARE(right.letter, page.letter);
        QVERIFY(lautgarten::isDecoy(page.letter, first.letter));
        QVERIFY(lautgarten::isDecoy(page.letter, second.letter));
        QVERIFY(second.letter != first.letter);
        QCOMPARE(QSet<int>({right.slot, first.slot, second.slot}), QSet<int>({0, 1, 2}));
        for (const PagePicture& picture : page.pictures)
            QVERIFY(picture.file >= 0 && picture.file < drawing.filesPerFolder(picture.letter));
        // The letter first, then each folder listed right before its picture.
        QCOMPARE(drawing.steps.size(), 7);
        QCOMPARE(drawing.steps[0], QStringLiteral("letter %1").arg(page.letter));
        QCOMPARE(drawing.steps[5], QStringLiteral("list %1").arg(second.letter));
    }
    QCOMPARE(letters.size(), 35);
}

void TestPageRules::singleFileFolder() {
    Drawing drawing;
    drawing.filesPerFolder = [](int16_t) { return int16_t(1); };
    drawing.script = {letter(30), std::nextafter(1.0, 0.0), box(0)};
    QCOMPARE(drawing.draw().pictures[0].file, int16_t(0));
}

void TestPageRules::trapsByEar_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("traps");
    QTest::addColumn<QStringList>("fair");
    // The first sound is compared both ways: a child hears the "sch" of "Schaf" at the start of
    // "Stern", and the "a" of "Affe" at the start of "Auto".
    QTest::newRow("a") << "a" << QStringList{"au", "ei"} << QStringList{"ä", "o"};
    QTest::newRow("au") << "au" << QStringList{"a", "ei"} << QStringList{"o", "u"};
    QTest::newRow("ei") << "ei" << QStringList{"a", "au"} << QStringList{"e", "i"};
    QTest::newRow("e") << "e" << QStringList{"ä", "ei"} << QStringList{"i"};
    QTest::newRow("ä") << "ä" << QStringList{"e"} << QStringList{"a", "ei"};
    QTest::newRow("f") << "f" << QStringList{"v"} << QStringList{"w", "p"};
    QTest::newRow("v") << "v" << QStringList{"f", "w"} << QStringList{"b"};
    QTest::newRow("w") << "w" << QStringList{"v"} << QStringList{"f"};
    QTest::newRow("k") << "k" << QStringList{"ch", "qu", "x"} << QStringList{"g"};
    QTest::newRow("qu") << "qu" << QStringList{"k", "x", "ch"} << QStringList{"w", "g"};
    QTest::newRow("x") << "x" << QStringList{"k", "qu", "ch"} << QStringList{"s", "z"};
    QTest::newRow("ch") << "ch" << QStringList{"k", "qu", "x", "sch", "sp", "st"}
                        << QStringList{"z", "s"};
    QTest::newRow("sch") << "sch" << QStringList{"st", "sp", "ch"} << QStringList{"s", "z"};
    QTest::newRow("sp") << "sp" << QStringList{"sch", "st", "ch"} << QStringList{"s", "p"};
    QTest::newRow("st") << "st" << QStringList{"st", "sch", "sp", "ch"} << QStringList{"s", "t"};
    QTest::newRow("j") << "j" << QStringList{"y"} << QStringList{"ch"};
    QTest::newRow("y") << "y" << QStringList{"j", "ü"} << QStringList{"u"};
    QTest::newRow("ü") << "ü" << QStringList{"y"} << QStringList{"u", "i"};
    // By spelling as well: a "sch" picture is no wrong picture on an "s" page.
    QTest::newRow("s") << "s" << QStringList{"sch", "sp", "st"} << QStringList{"z"};
    // An affricate is one sound: "Zebra" does not begin with the "t" of "Tiger".
    QTest::newRow("t") << "t" << QStringList() << QStringList{"z", "d"};
    QTest::newRow("p") << "p" << QStringList() << QStringList{"f", "b"};
}

void TestPageRules::trapsByEar() {
    QFETCH(QString, page);
    QFETCH(QStringList, traps);
    QFETCH(QStringList, fair);
    for (int16_t pageIndex : indexesOf(page)) {
        for (const QString& trap : traps) {
            for (int16_t decoy : indexesOf(trap))
                QVERIFY2(!lautgarten::isDecoy(pageIndex, decoy), qPrintable(trap));
        }
        for (const QString& other : fair) {
            for (int16_t decoy : indexesOf(other))
                QVERIFY2(lautgarten::isDecoy(pageIndex, decoy), qPrintable(other));
        }
    }
}

void TestPageRules::everyLetterKeepsTenDecoys() {
    for (int16_t page = 1; page <= 35; ++page) {
        int decoys = 0;
        for (int16_t other = 1; other <= 35; ++other)
            decoys += lautgarten::isDecoy(page, other);
        QVERIFY2(decoys >= 10, qPrintable(entry(page)));
    }
}

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

void TestPageRules::pictureNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("others");
    QTest::addColumn<QString>("anlaut");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("trapped"); // pages on which the picture is no fair wrong one
    QTest::newRow("Socken") << QStringLiteral("# Andere Namen\r\nStrumpf\r\n\r\n")
                            << QStringList{"Strumpf"} << QString() << QStringList()
                            << QStringList{"st", "sch", "sp", "ch"};
    QTest::newRow("Vogel") << QStringLiteral("\ufeffAnlaut: F\n") << QStringList() << "f"
                           << QStringList() << QStringList{"f", "v"};
    QTest::newRow("Öl") << QStringLiteral("Flasche\nHonig\n") << QStringList{"Flasche", "Honig"}
                        << QString() << QStringList() << QStringList{"f", "v", "h"};
    QTest::newRow("mistakes") << QStringLiteral("Anlaut: c\n123\nKnäuel") << QStringList{"Knäuel"}
                              << QString() << QStringList{"Anlaut: c", "123"}
                              << QStringList{"k", "qu", "x", "ch"};
}

void TestPageRules::pictureNames() {
    QFETCH(QString, text);
    QFETCH(QStringList, others);
    QFETCH(QString, anlaut);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, trapped);
    QStringList found;
    const lautgarten::PictureNames names = lautgarten::PictureNames::parse(text, &found);
    QCOMPARE(names.others, others);
    QCOMPARE(names.anlaut, anlaut);
    QCOMPARE(found, problems);
    QStringList pages;
    for (int16_t page = 1; page <= 35; ++page) {
        if (names.soundLike(page) && !pages.contains(entry(page)))
            pages.append(entry(page));
    }
    std::sort(pages.begin(), pages.end());
    std::sort(trapped.begin(), trapped.end());
    QCOMPARE(pages, trapped);
}

void TestPageRules::letterOfWord_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Strumpf") << "Strumpf"
                             << "st";
    QTest::newRow("Schal") << "Schal"
                           << "sch";
    QTest::newRow("Sonne") << "sonne"
                           << "s";
    QTest::newRow("Cookie") << "Cookie"
                            << "k";
    QTest::newRow("Chips") << "Chips"
                           << "ch";
    QTest::newRow("Photo") << "Photo"
                           << "f";
    QTest::newRow("Ähre, decomposed") << QStringLiteral("A\u0308hre") << QStringLiteral("ä");
    QTest::newRow("Qualle") << "Qualle"
                            << "qu";
    QTest::newRow("no letter") << "42" << QString();
}

void TestPageRules::letterOfWord() {
    QFETCH(QString, word);
    QFETCH(QString, expected);
    const int16_t index = lautgarten::letterOfWord(word);
    QCOMPARE(index == 0 ? QString() : entry(index), expected);
}

QTEST_GUILESS_MAIN(TestPageRules)
#include "tst_pagerules.moc"
