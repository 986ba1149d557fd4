// SPDX-License-Identifier: Apache-2.0
// The check of a picture library: the shipped library passes, every kind of damage to a library
// gives exactly its own lines, the boxes are the game's, and the command reports through its
// output and exit code.

#include "testsupport.h"
#include "tools/check/librarycheck.h"

#include "game/form1.h"
#include "game/letters.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

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
    void fileCountLimit_data();
    void fileCountLimit();
    void boxesAreTheGamesBoxes();
    void commandOnABrokenLibrary();
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
                       "images/y/.DS_Store: Versteckte Datei",
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
        << QStringList{"images/laute: Hinweis: Es fehlen qu.wav"} << 0;
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
