// SPDX-License-Identifier: Apache-2.0
// The check of a picture library: the shipped library passes, every kind of damage to a library
// gives exactly its own lines, the boxes are the game's, and the command reports through its
// output and exit code.

#include "testsupport.h"
#include "tools/check/librarycheck.h"

#include "game/form1.h"
#include "game/letters.h"
#include "platform/nativename.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef LAUTGARTEN_SOURCE_DIR
#error "LAUTGARTEN_SOURCE_DIR must name the repository root"
#endif
#ifndef LAUTGARTEN_PRUEFEN
#error "LAUTGARTEN_PRUEFEN must name the check's executable"
#endif

using lautgarten::check::checkLibrary;
using testsupport::TestLibrary;

using Damage = std::function<void(const TestLibrary&)>;
Q_DECLARE_METATYPE(Damage)

namespace {

const QString NfdO = QStringLiteral("o\u0308"); // "ö" as some systems store it on disk

// The lines of the check, without its hints unless asked for.
QStringList lines(const lautgarten::check::Result& result, bool withHints = false) {
    QStringList all;
    for (const lautgarten::check::Problem& problem : result.problems) {
        if (withHints || !problem.hint)
            all.append(problem.line());
    }
    return all;
}

// Each expected entry is the beginning of the line in the same place.
void compareBeginnings(const QStringList& found, const QStringList& expected) {
    QCOMPARE(found.size(), expected.size());
    for (int i = 0; i < found.size(); ++i) {
        if (!found[i].startsWith(expected[i]))
            QFAIL(qPrintable(QStringLiteral("line %1 is\n  %2\nexpected it to begin with\n  %3")
                                 .arg(i)
                                 .arg(found[i], expected[i])));
    }
}

void remove(const QString& path) {
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// Gives back every right a test took from the folders and files below root.
void openAgain(const QString& root) {
    QFile::setPermissions(root, QFile::permissions(root) | QFile::ReadOwner | QFile::WriteOwner |
                                    QFile::ExeOwner);
    for (const QFileInfo& entry :
         QDir(root).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry.isDir() && !entry.isSymLink())
            openAgain(entry.filePath());
        else if (!entry.isSymLink())
            QFile::setPermissions(entry.filePath(), entry.permissions() | QFile::ReadOwner);
    }
}

void emptyFolder(const QString& path) {
    remove(path);
    QDir().mkpath(path);
}

// A small picture under a name given as bytes, which Qt cannot write itself when they are not
// UTF-8.
void writeRaw(const QString& folder, const QByteArray& name) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(1, 1, QImage::Format_RGB32).save(&buffer, "PNG");
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    FILE* file = std::fopen(path.constData(), "wb");
    QVERIFY(file && std::fwrite(png.constData(), 1, std::size_t(png.size()), file) ==
                        std::size_t(png.size()));
    std::fclose(file);
}

// The shipped picture of the letter a: one image without transparency, 409 x 129.
QByteArray letterGif() {
    QFile gif(QStringLiteral(LAUTGARTEN_SOURCE_DIR "/images/buchstaben/a.gif"));
    if (!gif.open(QIODevice::ReadOnly))
        qFatal("cannot read a.gif");
    return gif.readAll();
}

QStringList run(const QStringList& arguments, int* exitCode, QString* errors = nullptr) {
    QProcess process;
    process.start(QStringLiteral(LAUTGARTEN_PRUEFEN), arguments);
    if (!process.waitForFinished(60000))
        qFatal("lautgarten-pruefen did not finish");
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestLibraryCheck : public QObject {
    Q_OBJECT
private slots:
    void shippedLibraryIsClean();
    void damage_data();
    void damage();
    // The sounds beside the pictures and in their own folders: a sound the game cannot play is a
    // fault, one it never plays and a picture it never speaks are hints; the command ends with 0
    // on hints alone.
    void sounds_data();
    void sounds();
    // Which folder or file lacks which right, and the command that gives it back: for this
    // account, and, where an administrator checks, for a folder nobody may open.
    void permissions_data();
    void permissions();
    void fileCountLimit_data();
    void fileCountLimit();
    void boxesAreTheGamesBoxes();
    void commandOnABrokenLibrary();
    // Whatever lies in a library (a pipe, devices, a file of the system's without end, a file
    // larger than any picture), the command ends with a line for each, under a memory limit that
    // reading one of them to its end would break.
    void commandWhateverLiesThere();
    void commandArguments_data();
    void commandArguments();
    void commandHelp();
};

void TestLibraryCheck::shippedLibraryIsClean() {
    const auto result = checkLibrary(QStringLiteral(LAUTGARTEN_SOURCE_DIR));
    QCOMPARE(lines(result, true), QStringList());
    QCOMPARE(result.letters, 34);
    QCOMPARE(result.words, result.pictures); // every picture speaks
}

// Each row damages a fresh library; expected holds the beginnings of exactly the lines it gives.
void TestLibraryCheck::damage_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QStringList>("expected");
    const auto picture = [](const QString& relative, QSize size) {
        return [=](const TestLibrary& lib) {
            TestLibrary::writePicture(lib.path(relative), Qt::red, size);
        };
    };
    const auto bytes = [](const QString& relative, const QByteArray& content) {
        return
            [=](const TestLibrary& lib) { TestLibrary::writeBytes(lib.path(relative), content); };
    };
    const auto removed = [](const QString& relative) {
        return [=](const TestLibrary& lib) { remove(lib.path(relative)); };
    };
    const QString unreadable = QStringLiteral(": Das Spiel kann diese Datei nicht als Bild laden "
                                              "(Laufzeitfehler 481: Ungültiges Bild)");

    QTest::newRow("letter picture missing")
        << Damage(removed("buchstaben/sch.gif"))
        << QStringList{"images/buchstaben/sch.gif: Das Buchstabenbild fehlt; das Spiel bricht ab, "
                       "sobald es „sch“ zeigen will. Bitte ein Bild des Buchstabens unter diesem "
                       "Namen speichern."};
    QTest::newRow("letter pictures' folder missing: one line, not 34")
        << Damage(removed("buchstaben"))
        << QStringList{"images/buchstaben: Der Ordner mit den Buchstabenbildern fehlt"};
    QTest::newRow("laughing face missing")
        << Damage(removed("special/lachi.gif"))
        << QStringList{"images/special/lachi.gif: Das lachende Gesicht fehlt"};
    QTest::newRow("crying face missing") << Damage(removed("special/weini.gif"))
                                         << QStringList{"images/special/weini.gif: Das weinende"};
    QTest::newRow("faces' folder missing")
        << Damage(removed("special"))
        << QStringList{"images/special: Der Ordner mit dem lachenden"};
    QTest::newRow("whole library missing")
        << Damage([](const TestLibrary& lib) { remove(lib.images()); })
        << QStringList{"images: Die Bildersammlung fehlt"};
    QTest::newRow("letter folder missing")
        << Damage(removed("qu")) << QStringList{"images/qu: Der Ordner für „qu“ fehlt"};
    QTest::newRow("letter folder is a file") << Damage([](const TestLibrary& lib) {
        remove(lib.path("qu"));
        TestLibrary::writePicture(lib.path("qu"));
    }) << QStringList{"images/qu: Hier muss ein Ordner mit Bildern für „qu“ stehen"};
    QTest::newRow("letter folder empty")
        << Damage([](const TestLibrary& lib) { emptyFolder(lib.path("x")); })
        << QStringList{"images/x: In diesem Ordner liegt kein Bild"};
    QTest::newRow("only pictures the game passes over")
        << Damage([](const TestLibrary& lib) {
               emptyFolder(lib.path("y"));
               TestLibrary::writePicture(lib.path("y/.DS_Store"));
               QDir().mkpath(lib.path("y/Urlaub"));
               TestLibrary::writePicture(lib.path("y/Urlaub/Yak.png"));
           })
        << QStringList{"images/y: In diesem Ordner liegt kein Bild",
                       "images/y/.DS_Store: Diese Datei legt der Finder von macOS in jeden Ordner",
                       "images/y/Urlaub: Unterordner: Das Spiel nimmt nur Bilder, die direkt im "
                       "Ordner images/y liegen"};
    QTest::newRow("hidden folder beside pictures")
        << Damage([](const TestLibrary& lib) { QDir().mkpath(lib.path("a/.thumbnails")); })
        << QStringList{"images/a/.thumbnails: Versteckter Ordner"};
    QTest::newRow("link to nowhere") << Damage([](const TestLibrary& lib) {
        QFile::link(lib.path("a/weg.png"), lib.path("a/Affe.png"));
    }) << QStringList{"images/a/Affe.png: Das Spiel übergeht diesen Eintrag"};
    QTest::newRow("text named like a photo") << Damage(bytes("a/Foto.jpg", "kein Bild"))
                                             << QStringList{"images/a/Foto.jpg" + unreadable};
    QTest::newRow("photo cut at half") << Damage([](const TestLibrary& lib) {
        const QByteArray jpeg = testsupport::photo({800, 600});
        TestLibrary::writeBytes(lib.path("b/Baum.jpg"), jpeg.left(jpeg.size() / 2));
    }) << QStringList{"images/b/Baum.jpg" + unreadable};
    QTest::newRow("face cut short") << Damage([](const TestLibrary& lib) {
        QFile face(QStringLiteral(LAUTGARTEN_SOURCE_DIR "/images/special/lachi.gif"));
        QVERIFY(face.open(QIODevice::ReadOnly));
        TestLibrary::writeBytes(lib.path("special/lachi.gif"), face.read(face.size() * 3 / 4));
    }) << QStringList{"images/special/lachi.gif" + unreadable};
    QTest::newRow("portrait from a phone fits once upright")
        << Damage(bytes("a/Hochformat.jpg",
                        testsupport::withOrientation(testsupport::photo({337, 265}), 6)))
        << QStringList();
    QTest::newRow("48-megapixel photo: too large, not unreadable")
        << Damage([](const TestLibrary& lib) {
               QImage photo(8000, 6000, QImage::Format_RGB32);
               photo.fill(Qt::darkGreen);
               QVERIFY(photo.save(lib.path("a/Handy.jpg"), "JPG"));
           })
        << QStringList{"images/a/Handy.jpg: Das Bild ist 8000 x 6000 Pixel groß, das Bildfeld im "
                       "Spiel nur 265 x 337 Pixel."};
    QTest::newRow("one-pixel placeholder")
        << Damage(picture("a/Platzhalter.png", {1, 1}))
        << QStringList{"images/a/Platzhalter.png: Das Bild ist nur 1 x 1 Pixel groß"};
    QTest::newRow("64 pixels on the longer side")
        << Damage(picture("a/Streifen.png", {64, 8})) << QStringList();
    QTest::newRow("Latin-1 name beside pictures")
        << Damage([](const TestLibrary& lib) { writeRaw(lib.path("b"), "B\xe4r.png"); })
        << QStringList{"images/b/B\\xe4r.png: Der Name dieser Datei ist nicht in UTF-8"};
    QTest::newRow("Latin-1 names only")
        << Damage([](const TestLibrary& lib) {
               emptyFolder(lib.path("a"));
               writeRaw(lib.path("a"), "\xc4"
                                       "ffchen.png");
           })
        << QStringList{"images/a: In diesem Ordner liegt kein Bild",
                       "images/a/\\xc4ffchen.png: Der Name dieser Datei"};
    QTest::newRow("letter picture unreadable")
        << Damage(bytes("buchstaben/ei.gif", "GIF89a"))
        << QStringList{"images/buchstaben/ei.gif" + unreadable};
    QTest::newRow("answer picture one pixel too wide")
        << Damage(picture("a/breit.png", {266, 337}))
        << QStringList{"images/a/breit.png: Das Bild ist 266 x 337 Pixel groß, das Bildfeld im "
                       "Spiel nur 265 x 337 Pixel. Das Spiel verkleinert Bilder nicht, es zeigt "
                       "sie ab der linken oberen Ecke; der Rest wird abgeschnitten. Bitte das Bild "
                       "auf höchstens 265 x 337 Pixel verkleinern."};
    QTest::newRow("answer picture one pixel too tall")
        << Damage(picture("a/hoch.png", {265, 338}))
        << QStringList{"images/a/hoch.png: Das Bild ist 265 x 338 Pixel groß"};
    QTest::newRow("answer picture filling its box")
        << Damage(picture("a/genau.png", {265, 337})) << QStringList();
    QTest::newRow("letter picture too wide")
        << Damage(picture("buchstaben/au.gif", {410, 129}))
        << QStringList{"images/buchstaben/au.gif: Das Bild ist 410 x 129 Pixel groß, das Bildfeld "
                       "im Spiel nur 409 x 129 Pixel."};
    QTest::newRow("letter picture filling its box")
        << Damage(picture("buchstaben/au.gif", {409, 129})) << QStringList();
    QTest::newRow("face too tall")
        << Damage(picture("special/weini.gif", {529, 514}))
        << QStringList{"images/special/weini.gif: Das Bild ist 529 x 514 Pixel groß, das "
                       "Bildfeld im Spiel nur 529 x 513 Pixel."};
    QTest::newRow("ö stored decomposed") << Damage([](const TestLibrary& lib) {
        QDir(lib.images()).rename("ö", NfdO);
        QDir(lib.images()).rename("buchstaben/ö.gif", "buchstaben/" + NfdO + ".gif");
    }) << QStringList();
    QTest::newRow("oversized picture in a decomposed ö folder")
        << Damage([](const TestLibrary& lib) {
               QDir(lib.images()).rename("ö", NfdO);
               TestLibrary::writePicture(lib.path(NfdO + "/Öl.png"), Qt::black, {300, 300});
           })
        << QStringList{"images/" + NfdO + "/Öl.png: Das Bild ist 300 x 300 Pixel groß"};
    QTest::newRow("several damages in the game's order")
        << Damage([](const TestLibrary& lib) {
               remove(lib.path("special/weini.gif"));
               TestLibrary::writeBytes(lib.path("z/.versteckt"), "x");
               remove(lib.path("buchstaben/z.gif"));
               remove(lib.path("b"));
           })
        << QStringList{"images/b: Der Ordner für „b“ fehlt",
                       "images/buchstaben/z.gif: Das Buchstabenbild fehlt",
                       "images/z/.versteckt: Versteckte Datei", "images/special/weini.gif"};
    QTest::newRow("what Windows and macOS leave beside pictures")
        << Damage([](const TestLibrary& lib) {
               for (const char* name : {"THUMBS.DB", "desktop.ini", "._0.png", "._Igel.png"})
                   TestLibrary::writeBytes(lib.path(QStringLiteral("i/") + name), "x");
           })
        << QStringList{
               "images/i/._0.png: Diese Datei legt macOS beim Kopieren auf einen Stick oder "
               "in ein ZIP-Archiv neben „0.png“ an. Sie ist kein Bild, sondern hält nur "
               "Zusatzangaben des Macs zu „0.png“; das Spiel übergeht sie. Sie kann "
               "gelöscht werden (nicht umbenennen: auch ohne den Punkt wäre sie kein "
               "Bild).",
               "images/i/._Igel.png: Diese Datei legt macOS beim Kopieren auf einen Stick "
               "oder in ein ZIP-Archiv neben „Igel.png“ an. Sie ist kein Bild, sondern hält "
               "nur Zusatzangaben des Macs zu „Igel.png“; das Spiel übergeht sie. Sie kann "
               "gelöscht werden (nicht umbenennen: auch ohne den Punkt wäre sie kein Bild); "
               "das Bild „Igel.png“ selbst fehlt hier.",
               "images/i/THUMBS.DB: Diese Datei legt Windows von selbst in Ordner mit "
               "Bildern (Vorschaubilder für den Explorer).",
               "images/i/desktop.ini: Diese Datei legt Windows von selbst in Ordner mit "
               "Bildern (Einstellungen der Ordneransicht). Sie ist kein Bild; das Spiel "
               "übergeht sie. Sie kann gelöscht werden."};
    // Folders in images/ that the game never reads, and the one each was probably meant to be.
    const auto folders = [](const QStringList& names) {
        return Damage([names](const TestLibrary& lib) {
            for (const QString& name : names) {
                QDir().mkpath(lib.path(name));
                TestLibrary::writePicture(lib.path(name + "/Bild.png"));
            }
        });
    };
    const QString never = QStringLiteral(": Diesen Ordner liest das Spiel nie; was darin liegt, "
                                         "kommt in keinem Spiel vor. ");
    QTest::newRow("A beside a") << folders({"A"})
                                << QStringList{
                                       "images/A" + never +
                                       "Gemeint ist wohl „a“ (derselbe Name in anderer Groß- "
                                       "und Kleinschreibung; das Spiel unterscheidet sie), "
                                       "den es gleich daneben gibt. Bitte den Inhalt nach "
                                       "images/a verschieben und diesen Ordner dann löschen."};
    QTest::newRow("ö in another Unicode form beside ö")
        << folders({NfdO})
        << QStringList{"images/" + NfdO + never +
                       "Gemeint ist wohl „ö“ (derselbe Name, nur in einer anderen Unicode-Form"};
    QTest::newRow("Sch instead of sch")
        << Damage([](const TestLibrary& lib) { QDir(lib.images()).rename("sch", "Sch"); })
        << QStringList{"images/sch: Der Ordner für „sch“ fehlt",
                       "images/Sch" + never +
                           "Gemeint ist wohl „sch“ (derselbe Name in anderer "
                           "Groß- und Kleinschreibung; das Spiel unterscheidet "
                           "sie). Bitte den Ordner in „sch“ umbenennen."};
    QTest::newRow("near spellings")
        << folders({"ae", "Buchstabe", "spezial", "Laute"})
        << QStringList{"images/Buchstabe" + never + "Gemeint ist wohl „buchstaben“ (fast derselbe",
                       "images/Laute" + never +
                           "Gemeint ist wohl „laute“ (derselbe Name in "
                           "anderer Groß- und Kleinschreibung; das Spiel "
                           "unterscheidet sie), den es gleich daneben gibt.",
                       "images/ae" + never + "Gemeint ist wohl „ä“ (derselbe Name, anders",
                       "images/spezial" + never + "Gemeint ist wohl „special“ (fast derselbe"};
    QTest::newRow("a folder of no letter, and one macOS left")
        << folders({"Urlaub", "__MACOSX", "laute", "saetze"})
        << QStringList{"images/Urlaub" + never +
                           "Das Spiel liest nur die Ordner der Buchstaben "
                           "(a, b, ch, d,",
                       "images/__MACOSX: Diesen Ordner legt macOS in ZIP-Archive"};
    // A picture of one colour shows a child nothing; so does a GIF whose only image lies beyond
    // its own screen, which Qt fills with the background.
    QTest::newRow("picture of one colour") << Damage([](const TestLibrary& lib) {
        QImage empty(100, 100, QImage::Format_ARGB32);
        empty.fill(Qt::transparent);
        QVERIFY(empty.save(lib.path("f/Leer.png")));
    }) << QStringList{"images/f/Leer.png: Alle Pixel dieses Bildes haben dieselbe Farbe"};
    QTest::newRow("GIF whose image lies outside its screen") << Damage([](const TestLibrary& lib) {
        QByteArray gif = letterGif();
        const qsizetype image = gif.indexOf(QByteArray("\x2c\0\0\0\0", 5), 13 + 768);
        QVERIFY(image > 0);
        gif[image + 1] = char(0xF4); // 500 pixels from the left of a screen 409 wide
        gif[image + 2] = char(0x01);
        TestLibrary::writeBytes(lib.path("buchstaben/f.gif"), gif);
    }) << QStringList{"images/buchstaben/f.gif: Alle Pixel dieses Bildes haben dieselbe Farbe"};
    QTest::newRow("GIF whose codes do not reach the last pixel")
        << Damage([](const TestLibrary& lib) {
               QByteArray gif = letterGif();
               const qsizetype image = gif.indexOf(QByteArray("\x2c\0\0\0\0", 5), 13 + 768);
               QVERIFY(image > 0 && gif[image + 10] == 8);
               gif[image + 10] = 0; // the codes read with the wrong size
               TestLibrary::writeBytes(lib.path("buchstaben/f.gif"), gif);
           })
        << QStringList{"images/buchstaben/f.gif" + unreadable};
}

void TestLibraryCheck::damage() {
    QFETCH(Damage, damage);
    QFETCH(QStringList, expected);
    const TestLibrary lib;
    damage(lib);
    compareBeginnings(lines(checkLibrary(lib.appPath())), expected);
}

void TestLibraryCheck::sounds_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("exitCode");
    const auto write = [](const QString& relative, const QByteArray& bytes) {
        return [=](const TestLibrary& lib) { TestLibrary::writeBytes(lib.path(relative), bytes); };
    };
    QTest::newRow("word that is no sound")
        << Damage(write("a/0.wav", "kein Ton"))
        << QStringList{"images/a/0.wav: Das Spiel kann diesen Ton nicht abspielen: Das ist keine "
                       "WAV-Datei"}
        << 1;
    QTest::newRow("a phone's recording not yet made into WAV")
        << Damage(write("b/1.m4a", "....ftypM4A "))
        << QStringList{"images/b/1.m4a: Das Spiel spielt nur WAV-Dateien ab; diese M4A-Datei"} << 1;
    QTest::newRow("sound without its picture")
        << Damage(write("b/Bär.wav", TestLibrary::wav()))
        << QStringList{"images/b/Bär.wav: Hinweis: Neben diesem Ton liegt kein Bild gleichen "
                       "Namens"}
        << 0;
    QTest::newRow("pictures without their words: one line for the folder")
        << Damage([](const TestLibrary& lib) {
               remove(lib.path("z/0.wav"));
               remove(lib.path("z/1.wav"));
           })
        << QStringList{"images/z: Hinweis: Zu 2 von 2 Bildern fehlt das gesprochene Wort (0.png, "
                       "1.png)"}
        << 0;
    QTest::newRow("a long recording")
        << Damage(write("d/1.wav", TestLibrary::wav(8000)))
        << QStringList{"images/d/1.wav: Hinweis: Der Ton dauert 8 Sekunden"} << 0;
    QTest::newRow("names: a line the game cannot take, a file without picture")
        << Damage([](const TestLibrary& lib) {
               TestLibrary::writeBytes(lib.path("s/0.txt"), "Strumpf\nAnlaut: c\n");
               TestLibrary::writeBytes(lib.path("s/Socke.txt"), "Strumpf\n");
           })
        << QStringList{"images/s/0.txt: Hinweis: Die Zeile „Anlaut: c“",
                       "images/s/Socke.txt: Hinweis: Neben dieser Textdatei liegt kein Bild"}
        << 0;
    QTest::newRow("a letter's sound missing")
        << Damage([](const TestLibrary& lib) { remove(lib.path("laute/qu.wav")); })
        << QStringList{"images/laute: Hinweis: Es fehlt qu.wav; das Spiel sagt diesen Ton nicht."}
        << 0;
    QTest::newRow("no sound at all: one line") << Damage([](const TestLibrary& lib) {
        for (QDirIterator it(lib.images(), {QStringLiteral("*.wav")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            remove(it.next());
    }) << QStringList{"images: Hinweis: In der Bildersammlung liegt kein Ton"}
                                               << 0;
}

void TestLibraryCheck::sounds() {
    QFETCH(Damage, damage);
    QFETCH(QStringList, expected);
    QFETCH(int, exitCode);
    const TestLibrary lib;
    damage(lib);
    compareBeginnings(lines(checkLibrary(lib.appPath()), true), expected);
    int code = -1;
    const QStringList output = run({lib.appPath()}, &code);
    QCOMPARE(code, exitCode);
    QCOMPARE(output.last().startsWith(QStringLiteral("Die Bildersammlung ist in Ordnung")),
             exitCode == 0);
}

// In expected, {images} stands for the library's images folder as the command to type names it.
void TestLibraryCheck::permissions_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<bool>("asAdministrator"); // root's right to pass permissions kept
    QTest::addColumn<QStringList>("expected");
    const auto chmod = [](const QString& relative, QFile::Permissions permissions) {
        return Damage([=](const TestLibrary& lib) {
            QVERIFY(QFile::setPermissions(lib.path(relative), permissions));
        });
    };
    const QFile::Permissions noSearch =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const QString game = QStringLiteral("Das Spiel bricht mit „Zugriff verweigert“ ab, sobald es ");
    const QString command = QStringLiteral("Abhilfe (im Terminal, nötigenfalls mit sudo davor): ");
    QTest::newRow("letter folder without x, as from some ZIP archives")
        << chmod("a", noSearch) << false
        << QStringList{"images/a: Dem Benutzerkonto, unter dem die Prüfung läuft, fehlt auf "
                       "diesen Ordner das Recht „Ausführen“ (x), ohne das sich keine Datei darin "
                       "öffnen lässt (so kommt ein Ordner manchmal aus einem ZIP-Archiv). " +
                       game + "ein Bild für „a“ braucht. " + command + "chmod a+rx '{images}a'"};
    QTest::newRow("letter folder without r")
        << chmod("b", QFile::ExeOwner | QFile::WriteOwner | QFile::ExeGroup | QFile::ExeOther)
        << false
        << QStringList{"images/b: Dem Benutzerkonto, unter dem die Prüfung läuft, fehlt auf "
                       "diesen Ordner das Recht „Lesen“ (r), ohne das sich nicht nachsehen lässt, "
                       "welche Bilder darin liegen. " +
                       game + "ein Bild für „b“ braucht. " + command + "chmod a+rx '{images}b'"};
    QTest::newRow("picture without r")
        << chmod("e/0.png", QFile::WriteOwner) << false
        << QStringList{"images/e/0.png: Dem Benutzerkonto, unter dem die Prüfung läuft, fehlt das "
                       "Recht „Lesen“ (r) auf diese Datei. " +
                       game + "dieses Bild zeigen will. " + command +
                       "chmod a+r '{images}e/0.png'"};
    QTest::newRow("letter pictures' folder without x: one line, not 34")
        << chmod("buchstaben", noSearch) << false
        << QStringList{"images/buchstaben: Dem Benutzerkonto, unter dem die Prüfung läuft, fehlt "
                       "auf diesen Ordner das Recht „Ausführen“ (x)"};
    QTest::newRow("images without x: one line")
        << chmod(".", noSearch) << false
        << QStringList{"images: Dem Benutzerkonto, unter dem die Prüfung läuft, fehlt auf diesen "
                       "Ordner das Recht „Ausführen“ (x)"};
    QTest::newRow("administrator's check: a folder nobody may open")
        << chmod("d", noSearch) << true
        << QStringList{QStringLiteral("images/d: ") + (geteuid() == 0
                                                           ? "Allen Benutzerkonten fehlt"
                                                           : "Dem Benutzerkonto, unter dem")};
}

void TestLibraryCheck::permissions() {
    QFETCH(Damage, damage);
    QFETCH(bool, asAdministrator);
    QFETCH(QStringList, expected);
    const TestLibrary lib;
    damage(lib);
    expected.replaceInStrings(QStringLiteral("{images}"),
                              platform::pathOnDisk(lib.images()).replace('\'', "'\\''"));
    QStringList found;
    {
        std::optional<testsupport::PermissionsApply> permissions;
        if (!asAdministrator) {
            permissions.emplace();
            if (!permissions->active())
                QSKIP(qPrintable(permissions->why()));
        }
        found = lines(checkLibrary(lib.appPath()));
    }
    openAgain(lib.images());
    compareBeginnings(found, expected);
}

void TestLibraryCheck::fileCountLimit_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("as many as the game can count") << 32767 << QStringList();
    QTest::newRow("one more")
        << 32768
        << QStringList{"images/z: In diesem Ordner liegen 32768 Dateien; das Spiel kann aber "
                       "höchstens 32767 Dateien in einem Ordner zählen und bricht sonst ab. Bitte "
                       "Dateien löschen oder verschieben, bis es höchstens 32767 sind."};
}

// Hidden files are not counted, as the game does not list them.
void TestLibraryCheck::fileCountLimit() {
    QFETCH(int, files);
    QFETCH(QStringList, expected);
    const TestLibrary lib(0);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(1, 1, QImage::Format_RGB32).save(&buffer, "PNG");
    for (int i = 0; i < files; ++i)
        TestLibrary::writeBytes(lib.path(QStringLiteral("z/%1.png").arg(i)), png);
    TestLibrary::writeBytes(lib.path("z/.hidden"), png);
    // Every other letter folder of this library is empty, and the hidden file has its own line.
    QStringList aboutTheFolder;
    for (const QString& line : lines(checkLibrary(lib.appPath()))) {
        if (line.startsWith(QStringLiteral("images/z: ")))
            aboutTheFolder.append(line);
    }
    QCOMPARE(aboutTheFolder, expected);
}

// The sizes the check measures against must be those of the boxes in the game's windows.
void TestLibraryCheck::boxesAreTheGamesBoxes() {
    const TestLibrary lib;
    lautgarten::Form1 form(platform::AppInfo{lib.appPath()});
    for (const platform::PictureBox& box : form.Picture2)
        QCOMPARE(box.size(), lautgarten::AnswerBox);
    QCOMPARE(form.Picture1.size(), lautgarten::LetterBox);
    QCOMPARE(form.Form2->Picture1.size(), lautgarten::FaceBox);
}

void TestLibraryCheck::commandOnABrokenLibrary() {
    const TestLibrary lib;
    remove(lib.path("special/lachi.gif"));
    TestLibrary::writeBytes(lib.path("m/Maus.jpg"), "kein Bild");
    int exitCode = 0;
    const QStringList output = run({lib.appPath()}, &exitCode);
    QCOMPARE(exitCode, 1);
    QCOMPARE(output.size(), 3); // two faults, and the hint that Maus.jpg has no word
    QCOMPARE(output, lines(checkLibrary(lib.appPath()), true));
}

void TestLibraryCheck::commandWhateverLiesThere() {
    const TestLibrary lib;
    remove(lib.path("buchstaben/a.gif"));
    QVERIFY(mkfifo(QFile::encodeName(lib.path("buchstaben/a.gif")).constData(), 0644) == 0);
    remove(lib.path("special/lachi.gif"));
    QVERIFY(QFile::link("/dev/zero", lib.path("special/lachi.gif")));
    QVERIFY(QFile::link("/dev/urandom", lib.path("b/Rauschen.png")));
    QFile large(lib.path("d/Riesig.png"));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(qint64(300) << 20));
    large.close();
    QStringList expected{"images/buchstaben/a.gif: Das ist eine Pipe (FIFO), keine Bilddatei. Das "
                         "Spiel liest daraus kein Bild und bricht ab",
                         "images/b/Rauschen.png: Das ist eine Verknüpfung auf /dev/urandom, ein "
                         "Gerät, keine Bilddatei.",
                         "images/d/Riesig.png: Die Datei ist 300 MB groß; kein Bild ist größer "
                         "als 256 MB."};
    // The kernel's page map of the reading process claims no bytes and gives gigabytes.
    if (QFile pageMap("/proc/self/pagemap"); pageMap.open(QIODevice::ReadOnly)) {
        QVERIFY(QFile::link(pageMap.fileName(), lib.path("f/Seiten.png")));
        expected << "images/f/Seiten.png: Das Spiel kann diese Datei nicht als Bild laden "
                    "(Laufzeitfehler 481: Ungültiges Bild)";
    }
    // The game's listing passes over a pipe in a letter folder; the check says what it is.
    QVERIFY(mkfifo(QFile::encodeName(lib.path("g/Rohr.png")).constData(), 0644) == 0);
    expected << "images/g/Rohr.png: Das ist eine Pipe (FIFO), keine Bilddatei. Das Spiel übergeht "
                "diesen Eintrag."
             << "images/special/lachi.gif: Das ist eine Verknüpfung auf /dev/zero, ein Gerät";

    QProcess process;
#if defined(__SANITIZE_ADDRESS__)
    qInfo("no memory limit: AddressSanitizer reserves more address space than any limit allows");
#else
    // Room for the checker and one picture file at its largest, not for a device read to its end.
    process.setChildProcessModifier([] {
        const rlimit limit{rlim_t(1536) << 20, rlim_t(1536) << 20};
        setrlimit(RLIMIT_AS, &limit);
    });
#endif
    process.start(QStringLiteral(LAUTGARTEN_PRUEFEN), {lib.appPath()});
    const bool finished = process.waitForFinished(120000);
    if (!finished)
        process.kill();
    QVERIFY2(finished, "the check hung");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    // The hints that the new pictures have no spoken word are not what this is about.
    QStringList found =
        QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    found.removeIf([](const QString& line) { return line.contains(QLatin1String(": Hinweis: ")); });
    compareBeginnings(found, expected);
}

// In the arguments, {lib} stands for the folder of a library without a fault.
void TestLibraryCheck::commandArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("output");
    QTest::addColumn<QString>("error");
    const QStringList clean{
        "Die Bildersammlung ist in Ordnung: 34 Buchstaben, 68 Bilder, 68 davon mit gesprochenem "
        "Wort."};
    QTest::newRow("folder holding images") << QStringList{"{lib}"} << 0 << clean << QString();
    QTest::newRow("images folder itself")
        << QStringList{"{lib}/images/"} << 0 << clean << QString();
    QTest::newRow("folder after --") << QStringList{"--", "{lib}"} << 0 << clean << QString();
    QTest::newRow("no folder: the library beside the program")
        << QStringList() << 0 << QStringList{"Die Bildersammlung ist in Ordnung: 34 Buchstaben, "}
        << QString();
    QTest::newRow("folder that does not exist")
        << QStringList{"/nirgends"} << 2 << QStringList()
        << QStringLiteral("lautgarten-pruefen: Den Ordner „/nirgends“ gibt es nicht.");
    QTest::newRow("unknown option") << QStringList{"--schnell", "{lib}"} << 2 << QStringList()
                                    << QStringLiteral("lautgarten-pruefen: Die Angabe „--schnell“");
    QTest::newRow("two folders") << QStringList{"{lib}", "{lib}"} << 2 << QStringList()
                                 << QStringLiteral("lautgarten-pruefen: Bitte nur einen Ordner");
}

void TestLibraryCheck::commandArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, output);
    QFETCH(QString, error);
    const TestLibrary lib;
    arguments.replaceInStrings(QStringLiteral("{lib}"), lib.appPath());
    int code = 0;
    QString errors;
    compareBeginnings(run(arguments, &code, &errors), output);
    QCOMPARE(code, exitCode);
    if (error.isEmpty())
        QVERIFY2(!errors.contains(QStringLiteral("lautgarten-pruefen:")), qPrintable(errors));
    else
        QVERIFY2(errors.contains(QLatin1Char('\n') + error) || errors.startsWith(error),
                 qPrintable(errors));
}

// Help wins over everything else on the line and does not look at any folder.
void TestLibraryCheck::commandHelp() {
    int code = 0;
    const QStringList help = run({"--schnell", "/nirgends", "/auch/nicht", "--help"}, &code);
    QCOMPARE(code, 0);
    QVERIFY(!help.isEmpty());
    QCOMPARE(help.first(), QStringLiteral("Aufruf: lautgarten-pruefen [ORDNER]"));
}

QTEST_MAIN(TestLibraryCheck)
#include "tst_librarycheck.moc"
