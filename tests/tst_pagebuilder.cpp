// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

using lautgarten::Form1;
using platform::AppInfo;
using platform::ErrorNumber;
using testsupport::TestLibrary;

using namespace testsupport::rnd;

namespace {

// Runs the start-up on a library and leaves the start page by its close button.
void load(Form1& form) {
    testsupport::onNextModal([](QWidget* page) { page->close(); });
    form.Form_Load();
}

QString shownIn(const Form1& form, int slot) {
    const QString path = form.Picture2[std::size_t(slot)].picture().path;
    return path.mid(path.indexOf(QLatin1String("/images/")) + 8);
}

} // namespace

class TestPageBuilder : public QObject {
    Q_OBJECT

private slots:
    // The page drawn is the page shown: each box holds the file drawn from its letter's folder,
    // the fields name the page, and the file list is left on the second wrong letter's folder.
    void drawnPageIsShown();
    // Unscripted pages always show the right picture from the page letter's folder.
    void pagesAreConsistent();
    // A missing letter picture stops the page before any answer picture changes.
    void missingLetterPicture();
    // A broken letter folder stops the page with its own error and path.
    void brokenFolder_data();
    void brokenFolder();
    // The page's pictures are read side by side, yet a library broken in two places stops the
    // page at the first fault in draw order, and only the boxes before it have changed.
    void firstFaultWins_data();
    void firstFaultWins();
};

void TestPageBuilder::drawnPageIsShown() {
    // letter b, its file 1, box 1; wrong m (box 1 taken, redrawn to 2), file 0; second wrong:
    // b and m are redrawn, ö, file 1 into the box left over.
    const QList<double> script = {letter(2), pick(1, 2), box(1),     letter(13), pick(0, 2), box(1),
                                  box(2),    letter(2),  letter(13), letter(33), pick(1, 2)};
    const int target = 2, decoy1 = 13, decoy2 = 33, correct = 1;
    const QStringList boxes = {QStringLiteral("ö/1.png"), QStringLiteral("b/1.png"),
                               QStringLiteral("m/0.png")};

    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    load(form);
    for (double value : script)
        form.Rng.feed({value});
    form.Picture3_Click();

    QCOMPARE(form.Rng.scriptLeft(), std::size_t(0)); // every value used, none more
    QCOMPARE(int(form.TargetIndex), target);
    QCOMPARE(form.CurrentLetter, form.LetterTable[std::size_t(target)]);
    QCOMPARE(int(form.DecoyIndex1), decoy1);
    QCOMPARE(int(form.DecoyIndex2), decoy2);
    QCOMPARE(int(form.CorrectSlot), correct);
    for (int slot = 0; slot < 3; ++slot)
        QCOMPARE(shownIn(form, slot), boxes[slot]);
    QCOMPARE(
        form.Picture1.picture().path,
        library.path(QStringLiteral("buchstaben/") + form.CurrentLetter + QStringLiteral(".gif")));
    QVERIFY(!form.Picture1.isHidden());
    // The file list is left on the second wrong letter's folder, with its pick.
    QCOMPARE(form.File1.path(), library.path(form.LetterTable[std::size_t(decoy2)]));
    const QString lastPick = form.File1.path() + QLatin1Char('/') + form.File1.list(form.FilePick);
    QVERIFY(boxes.contains(lastPick.mid(library.images().size())));
    QCOMPARE(form.ImagesPath, library.images());
}

void TestPageBuilder::pagesAreConsistent() {
    TestLibrary library(3);
    Form1 form(AppInfo{library.appPath()});
    load(form);
    QSet<int> targets;
    for (int page = 0; page < 1000; ++page) {
        form.Picture3_Click();
        targets.insert(form.TargetIndex);
        QCOMPARE(form.CurrentLetter, form.LetterTable[std::size_t(form.TargetIndex)]);
        // The right box shows a picture from the page letter's folder.
        QVERIFY(shownIn(form, form.CorrectSlot).startsWith(form.CurrentLetter + QLatin1Char('/')));
        QSet<QString> folders;
        for (int slot = 0; slot < 3; ++slot)
            folders.insert(shownIn(form, slot).section(QLatin1Char('/'), 0, 0));
        QVERIFY(folders.size() >= 2);
    }
    QCOMPARE(targets.size(), 35);
}

void TestPageBuilder::missingLetterPicture() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    load(form);
    const QString before0 = form.Picture2[0].picture().path;
    const QString before2 = form.Picture2[2].picture().path;
    QVERIFY(QFile::remove(library.path(QStringLiteral("buchstaben/ü.gif"))));
    form.Rng.feed({letter(35)});
    QVERIFY_ERROR_ON(ErrorNumber::FileNotFound, library.path(QStringLiteral("buchstaben/ü.gif")),
                     form.Picture3_Click());
    QCOMPARE(form.Picture2[0].picture().path, before0);
    QCOMPARE(form.Picture2[2].picture().path, before2);
    QCOMPARE(form.Rng.scriptLeft(), std::size_t(0));
}

void TestPageBuilder::brokenFolder_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<ErrorNumber>("error");
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder")
        << QStringLiteral("remove") << ErrorNumber::PathNotFound << QStringLiteral("ä");
    QTest::newRow("empty folder") << QStringLiteral("empty") << ErrorNumber::FileNotFound
                                  << QStringLiteral("ä/");
    QTest::newRow("only hidden files")
        << QStringLiteral("hidden") << ErrorNumber::FileNotFound << QStringLiteral("ä/");
    QTest::newRow("no picture") << QStringLiteral("text") << ErrorNumber::InvalidPicture
                                << QStringLiteral("ä/0.png");
}

void TestPageBuilder::brokenFolder() {
    QFETCH(QString, damage);
    QFETCH(ErrorNumber, error);
    QFETCH(QString, path);

    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    load(form);
    QDir folder(library.path(QStringLiteral("ä")));
    if (damage == QLatin1String("remove")) {
        QVERIFY(folder.removeRecursively());
    } else if (damage == QLatin1String("empty") || damage == QLatin1String("hidden")) {
        QVERIFY(folder.removeRecursively());
        QVERIFY(QDir().mkpath(folder.path()));
        if (damage == QLatin1String("hidden"))
            TestLibrary::writePicture(folder.filePath(QStringLiteral(".versteckt.png")));
    } else {
        TestLibrary::writeBytes(folder.filePath(QStringLiteral("0.png")), "kein Bild");
    }
    // "ä" as the first wrong letter.
    form.Rng.feed({letter(2), pick(0, 2), box(0), letter(34), pick(0, 2), box(1)});
    QVERIFY_ERROR_ON(error, library.path(path), form.Picture3_Click());
}

void TestPageBuilder::firstFaultWins_data() {
    QTest::addColumn<QString>("badPicture");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("changedBoxes"); // boxes 0, 1, ... that got their new picture
    // The page asks for "b" (its picture in box 0), "ä" is its first wrong letter (box 1); the
    // second wrong letter's folder "ü" is missing.
    QTest::newRow("letter picture")
        << QStringLiteral("buchstaben/b.gif") << QStringLiteral("buchstaben/b.gif") << 0;
    QTest::newRow("right picture") << QStringLiteral("b/0.png") << QStringLiteral("b/0.png") << 0;
    QTest::newRow("first wrong picture")
        << QStringLiteral("ä/0.png") << QStringLiteral("ä/0.png") << 1;
    QTest::newRow("only the folder") << QString() << QStringLiteral("ü") << 2;
}

void TestPageBuilder::firstFaultWins() {
    QFETCH(QString, badPicture);
    QFETCH(QString, expected);
    QFETCH(int, changedBoxes);
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    load(form);
    for (platform::PictureBox& box : form.Picture2)
        box.setPicture({});
    if (!badPicture.isEmpty())
        TestLibrary::writeBytes(library.path(badPicture), "kein Bild");
    QVERIFY(QDir(library.path(QStringLiteral("ü"))).removeRecursively());
    form.Rng.feed({letter(2), pick(0, 2), box(0), letter(34), pick(0, 2), box(1), letter(35)});
    const ErrorNumber error =
        expected == QStringLiteral("ü") ? ErrorNumber::PathNotFound : ErrorNumber::InvalidPicture;
    QVERIFY_ERROR_ON(error, library.path(expected), form.Picture3_Click());
    for (int slot = 0; slot < 3; ++slot)
        QCOMPARE(!form.Picture2[std::size_t(slot)].picture().path.isEmpty(), slot < changedBoxes);
}

QTEST_MAIN(TestPageBuilder)
#include "tst_pagebuilder.moc"
