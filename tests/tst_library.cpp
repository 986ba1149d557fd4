// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "game/letters.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <unistd.h>

using lautgarten::Form1;
using platform::AppInfo;
using platform::ErrorNumber;
using testsupport::TestLibrary;

namespace {

// A first page for "a", with "b" and "ch" as the wrong letters, each from its first file.
const QList<double> PageForA = {0.5 / 35, 0.0, 0.0, 1.5 / 35, 0.0, 0.5, 2.5 / 35, 0.0};

QByteArray hugeGif() {
    // A GIF whose header claims 60000 x 60000 pixels.
    return QByteArray("GIF89a") + QByteArray::fromHex("60ea60ea000000") +
           QByteArray::fromHex("2c0000000060ea60ea000202440100003b");
}

// Half of a shipped letter picture, as an interrupted copy leaves it.
QByteArray halfCopiedLetter() {
    QFile gif(QStringLiteral(LAUTGARTEN_SOURCE_DIR "/images/buchstaben/a.gif"));
    if (!gif.open(QIODevice::ReadOnly))
        qFatal("cannot read the shipped letter picture");
    const QByteArray bytes = gif.readAll();
    return bytes.left(bytes.size() / 2);
}

// Breaks a library the way a hand edit might.
void damage(const TestLibrary& library, const QString& how) {
    const QString a = library.path(QStringLiteral("a"));
    const QString aGif = library.path(QStringLiteral("buchstaben/a.gif"));
    if (how == QLatin1String("no images"))
        QDir(library.images()).removeRecursively();
    else if (how == QLatin1String("no buchstaben"))
        QDir(library.path(QStringLiteral("buchstaben"))).removeRecursively();
    else if (how == QLatin1String("no letter picture"))
        QFile::remove(aGif);
    else if (how == QLatin1String("empty letter picture"))
        TestLibrary::writeBytes(aGif, {});
    else if (how == QLatin1String("truncated letter picture"))
        TestLibrary::writeBytes(aGif, halfCopiedLetter());
    else if (how == QLatin1String("text as letter picture"))
        TestLibrary::writeBytes(aGif, "Buchstabe A\n");
    else if (how == QLatin1String("huge letter picture"))
        TestLibrary::writeBytes(aGif, hugeGif());
    else if (how == QLatin1String("no folder"))
        QDir(a).removeRecursively();
    else if (how == QLatin1String("empty folder") || how == QLatin1String("hidden files only")) {
        QDir(a).removeRecursively();
        QDir().mkpath(a);
        if (how == QLatin1String("hidden files only"))
            TestLibrary::writePicture(a + QStringLiteral("/.0.png"));
    } else if (how == QLatin1String("half-copied photo")) {
        const QByteArray jpeg = testsupport::photo({800, 600});
        TestLibrary::writeBytes(a + QStringLiteral("/0.png"), jpeg.left(jpeg.size() / 2));
    } else if (how == QLatin1String("no picture in folder"))
        TestLibrary::writeBytes(a + QStringLiteral("/0.png"), "<html>kein Bild</html>");
    else if (how == QLatin1String("dangling folder link")) {
        QDir(a).removeRecursively();
        QFile::link(library.path(QStringLiteral("weg")), a);
    } else if (how == QLatin1String("no face"))
        QFile::remove(library.path(QStringLiteral("special/lachi.gif")));
    else if (how == QLatin1String("too many files")) {
        for (int i = 1; i <= 32767; ++i) {
            QFile file(a + QStringLiteral("/%1.png").arg(i));
            file.open(QIODevice::WriteOnly);
        }
    } else
        qFatal("unknown damage %s", qPrintable(how));
}

struct Outcome {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString errors;
    bool finished = false;
};

// Runs the real program beside a library, headless, and collects how it ended.
Outcome runProgram(const QString& appDir, bool unprivileged = false) {
    const QString binary = appDir + QStringLiteral("/lautgarten");
    QFile::remove(binary);
    if (!QFile::copy(QStringLiteral(LAUTGARTEN_BINARY), binary))
        qFatal("cannot copy the program");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    if (unprivileged)
        process.start(QStringLiteral("setpriv"),
                      {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                       QStringLiteral("--clear-groups"), binary});
    else
        process.start(binary, {});
    Outcome outcome;
    outcome.finished = process.waitForFinished(60000);
    if (!outcome.finished)
        process.kill();
    outcome.status = process.exitStatus();
    outcome.code = process.exitCode();
    outcome.errors = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

void openToEveryone(const QString& root) {
    for (QString dir = root; dir.size() > 1; dir = QFileInfo(dir).path())
        QFile::setPermissions(dir, QFile::permissions(dir) | QFile::ReadOther | QFile::ExeOther);
}

} // namespace

class TestLibraryProblems : public QObject {
    Q_OBJECT

private slots:
    // Every way a library can be broken ends with its own error number and the path concerned,
    // before any page with a missing picture is shown.
    void brokenLibrary_data();
    void brokenLibrary();
    // The real program ends cleanly on a broken library: exit code 1, the error on standard
    // error, no signal, no hang.
    void programEnds_data();
    void programEnds();
    // A picture the program may not read is an invalid picture, not a crash.
    void unreadablePicture();
    // A library copied from a system that stores umlauts decomposed still plays.
    void decomposedUmlauts();
};

void TestLibraryProblems::brokenLibrary_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("path");
    QTest::newRow("missing images folder")
        << "no images" << ErrorNumber::PathNotFound << "buchstaben/a.gif";
    QTest::newRow("missing buchstaben folder")
        << "no buchstaben" << ErrorNumber::PathNotFound << "buchstaben/a.gif";
    QTest::newRow("missing letter picture")
        << "no letter picture" << ErrorNumber::FileNotFound << "buchstaben/a.gif";
    QTest::newRow("empty letter picture")
        << "empty letter picture" << ErrorNumber::InvalidPicture << "buchstaben/a.gif";
    QTest::newRow("truncated letter picture")
        << "truncated letter picture" << ErrorNumber::InvalidPicture << "buchstaben/a.gif";
    QTest::newRow("text renamed .gif")
        << "text as letter picture" << ErrorNumber::InvalidPicture << "buchstaben/a.gif";
    QTest::newRow("60000 x 60000 GIF")
        << "huge letter picture" << ErrorNumber::InvalidPicture << "buchstaben/a.gif";
    QTest::newRow("missing letter folder") << "no folder" << ErrorNumber::PathNotFound << "a";
    QTest::newRow("empty letter folder") << "empty folder" << ErrorNumber::FileNotFound << "a/";
    QTest::newRow("only hidden files") << "hidden files only" << ErrorNumber::FileNotFound << "a/";
    QTest::newRow("no picture in folder")
        << "no picture in folder" << ErrorNumber::InvalidPicture << "a/0.png";
    QTest::newRow("photo cut at half")
        << "half-copied photo" << ErrorNumber::InvalidPicture << "a/0.png";
    QTest::newRow("dangling folder link")
        << "dangling folder link" << ErrorNumber::PathNotFound << "a";
    QTest::newRow("missing face") << "no face" << ErrorNumber::FileNotFound << "special/lachi.gif";
    QTest::newRow("32768 files") << "too many files" << ErrorNumber::Overflow << "a";
}

void TestLibraryProblems::brokenLibrary() {
    QFETCH(QString, how);
    QFETCH(ErrorNumber, number);
    QFETCH(QString, path);
    TestLibrary library(1);
    damage(library, how);
    Form1 form(AppInfo{library.appPath()});
    for (double value : PageForA)
        form.Rng.feed({value});
    bool startPageShown = false, startPageReached = false;
    testsupport::onNextModal(
        [&startPageShown](QWidget* page) {
            startPageShown = true;
            page->close();
        },
        &form);
    QVERIFY_ERROR_ON(number, library.path(path), {
        form.Form_Load();
        startPageReached = startPageShown;
        testsupport::onNext<lautgarten::Form2>(
            [](lautgarten::Form2& face) { QTest::mouseClick(&face.Picture1, Qt::LeftButton); },
            &form);
        form.Picture2_Click(form.CorrectSlot); // needs the laughing face
    });
    // A library broken only for the faces lets the start-up reach the start page.
    if (path.startsWith(QLatin1String("special/")))
        QVERIFY(startPageReached);
    // The page never appeared half-filled.
    QVERIFY(!form.isVisible());
}

void TestLibraryProblems::programEnds_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing images folder")
        << "no images" << QStringLiteral("Laufzeitfehler '76':\n\nPfad nicht gefunden\n\n");
    QTest::newRow("letter pictures that are text")
        << "text" << QStringLiteral("Laufzeitfehler '481':\n\nUngültiges Bild\n\n");
    QTest::newRow("letter pictures of 60000 x 60000")
        << "huge" << QStringLiteral("Laufzeitfehler '481':\n\nUngültiges Bild\n\n");
    QTest::newRow("empty letter folders")
        << "empty" << QStringLiteral("Laufzeitfehler '53':\n\nDatei nicht gefunden\n\n");
}

void TestLibraryProblems::programEnds() {
    QFETCH(QString, how);
    QFETCH(QString, expected);
    TestLibrary library(1);
    if (how == QLatin1String("no images"))
        damage(library, how);
    for (const QString& entry : lautgarten::letterEntries()) {
        const QString letter = library.path(QStringLiteral("buchstaben/") + entry + ".gif");
        if (how == QLatin1String("text"))
            TestLibrary::writeBytes(letter, "kein Bild");
        else if (how == QLatin1String("huge"))
            TestLibrary::writeBytes(letter, hugeGif());
        else if (how == QLatin1String("empty"))
            QFile::remove(library.path(entry + QStringLiteral("/0.png")));
    }
    const Outcome outcome = runProgram(library.appPath());
    QVERIFY2(outcome.finished, "the program hung");
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QCOMPARE(outcome.code, 1);
    QVERIFY2(outcome.errors.contains(expected + library.images()), qPrintable(outcome.errors));
}

void TestLibraryProblems::unreadablePicture() {
    TestLibrary library(1);
    for (const QString& entry : lautgarten::letterEntries())
        QFile::setPermissions(library.path(QStringLiteral("buchstaben/") + entry + ".gif"),
                              QFile::WriteOwner);
    if (geteuid() != 0) {
        Form1 form(AppInfo{library.appPath()});
        QVERIFY_ERROR(ErrorNumber::PermissionDenied, form.Form_Load());
        return;
    }
    // Root reads every file: run the program as nobody instead.
    openToEveryone(library.images());
    for (const QString& dir : QDir(library.images()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        openToEveryone(library.path(dir));
    const Outcome outcome = runProgram(library.appPath(), true);
    QVERIFY2(outcome.finished, "the program hung");
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QCOMPARE(outcome.code, 1);
    QVERIFY2(
        outcome.errors.contains(QStringLiteral("Laufzeitfehler '70':\n\nZugriff verweigert\n\n") +
                                library.path(QStringLiteral("buchstaben/"))),
        qPrintable(outcome.errors));
}

void TestLibraryProblems::decomposedUmlauts() {
    TestLibrary library(1);
    // Store every umlaut name decomposed, as some systems do.
    for (const QString& umlaut : {QStringLiteral("ö"), QStringLiteral("ä"), QStringLiteral("ü")}) {
        const QString nfd = umlaut.normalized(QString::NormalizationForm_D);
        QVERIFY(nfd != umlaut);
        QVERIFY(QDir().rename(library.path(umlaut), library.path(nfd)));
        QVERIFY(QDir().rename(library.path(QStringLiteral("buchstaben/") + umlaut + ".gif"),
                              library.path(QStringLiteral("buchstaben/") + nfd + ".gif")));
        QVERIFY(!QFileInfo::exists(library.path(umlaut)));
    }
    Form1 form(AppInfo{library.appPath()});
    testsupport::onNextModal([](QWidget* page) { page->close(); });
    form.Form_Load();
    // Pages for ö, ä and ü, with the other two as wrong letters.
    form.Rng.feed({32.5 / 35, 0.0, 0.0, 33.5 / 35, 0.0, 0.5, 34.5 / 35, 0.0});
    form.Picture3_Click();
    QCOMPARE(form.CurrentLetter, QStringLiteral("ö"));
    for (const auto& box : form.Picture2)
        QVERIFY(!box.picture().isNull());
    QVERIFY(form.Picture1.picture().path.endsWith(QStringLiteral("buchstaben/ö.gif")));
    QCOMPARE(form.File1.list(0), QStringLiteral("0.png"));
}

QTEST_MAIN(TestLibraryProblems)
#include "tst_library.moc"
