// SPDX-License-Identifier: Apache-2.0
// What the game says, and when: the page's sound, a picture's word, the feedback's sentence, and
// silence behind the start page and the results window. The audio is a stand-in that records
// which file was asked for and when (testsupport::SpeechLog).

#include "game/form1.h"
#include "game/letters.h"
#include "testsupport.h"

#include <QTest>

using lautgarten::Form1;
using lautgarten::Form2;
using lautgarten::Form3;
using lautgarten::Form4;
using platform::AppInfo;
using testsupport::onNext;
using testsupport::SpeechLog;
using testsupport::TestLibrary;
using testsupport::waitUntil;
using namespace testsupport::rnd;

namespace {

// The page "b": b/0 in box 0 (right), m/1 in box 1, n/0 in box 2.
void feedPageB(Form1& form) {
    form.Rng.feed(
        {letter(2), pick(0, 2), box(0), letter(13), pick(1, 2), box(1), letter(14), pick(0, 2)});
}

} // namespace

class TestSpeech : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Nothing is said behind the start page; the page's sound once it appears, with each new
    // page, and again when the child clicks the letter.
    void letterSound();
    // Half a second of rest on an answer says its word; a click, a move away or a picture
    // without its word says nothing.
    void wordOnRest();
    // The feedback's sentence, piece by piece with its pauses, about the picture clicked: the
    // right one ends on the page's sound, a wrong one on its own sound (or the sound its names
    // file gives) and an invitation; back on the page, its sound again.
    void feedback_data();
    void feedback();
    // Without the word there is no sentence about it; without a letter's sound, the word alone.
    void missingFiles();
    // The end of a game silences the feedback, nothing is said behind the results window, and
    // the page's sound follows once it closes.
    void silentBehindResults();

private:
    std::unique_ptr<TestLibrary> library;
    std::unique_ptr<Form1> form;
    std::unique_ptr<SpeechLog> log;
};

void TestSpeech::init() {
    library = std::make_unique<TestLibrary>(2);
    log = std::make_unique<SpeechLog>();
    form = std::make_unique<Form1>(AppInfo{library->appPath()});
}

void TestSpeech::cleanup() {
    form.reset();
    log.reset();
    library.reset();
}

void TestSpeech::letterSound() {
    int saidBehindStartPage = -1;
    onNext<Form3>([&](Form3& page) {
        QTest::qWait(50);
        saidBehindStartPage = int(log->played().size());
        page.Text1.setText(QStringLiteral("Mia"));
        QTest::mouseClick(&page.Command1, Qt::LeftButton);
    });
    feedPageB(*form);
    form->Form_Load();
    QCOMPARE(saidBehindStartPage, 0);
    form->Timer1.setEnabled(false);
    form->show();
    QCOMPARE(log->files(), QStringList{"laute/b.wav"});

    form->Rng.feed(
        {letter(30), pick(0, 2), box(0), letter(2), pick(0, 2), box(1), letter(13), pick(0, 2)});
    form->Picture3_Click();
    QCOMPARE(log->files().last(), QStringLiteral("laute/sch.wav"));
    QTest::mouseClick(&form->Picture1, Qt::LeftButton);
    QCOMPARE(log->files(), (QStringList{"laute/b.wav", "laute/sch.wav", "laute/sch.wav"}));
}

void TestSpeech::wordOnRest() {
    feedPageB(*form);
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    log->clear();

    QTest::mouseMove(&form->Picture2[1], QPoint(20, 20));
    QVERIFY(waitUntil([&] { return !log->played().isEmpty(); }, 3000));
    QCOMPARE(log->files(), QStringList{"m/1.wav"});
    QVERIFY(log->played().first().atMs >= 400); // rested, not merely passed

    // A picture without its word is not spoken.
    log->clear();
    QVERIFY(QFile::remove(library->path(QStringLiteral("n/0.wav"))));
    QTest::mouseMove(&form->Picture2[2], QPoint(30, 30));
    QTest::qWait(800);
    QVERIFY(log->played().isEmpty());

    // Moving on before half a second is no rest.
    QTest::mouseMove(&form->Picture2[0], QPoint(30, 30));
    QTest::qWait(200);
    QTest::mouseMove(&form->Picture1, QPoint(5, 5));
    QTest::qWait(600);
    QVERIFY(log->played().isEmpty());
}

void TestSpeech::feedback_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("anlaut"); // a line for the clicked picture's names file
    QTest::addColumn<QStringList>("said");
    // Each sentence is followed by the page's sound once the face is clicked: the new page's
    // after a right answer, the same page's after a wrong one.
    QTest::newRow("right") << 0 << QString()
                           << QStringList{"saetze/richtig.wav", "b/0.wav",
                                          "saetze/am-anfang-hoerst-du.wav", "laute/b.wav"};
    QTest::newRow("wrong") << 1 << QString()
                           << QStringList{"m/1.wav", "saetze/am-anfang-hoerst-du.wav",
                                          "laute/m.wav", "saetze/nochmal.wav"};
    QTest::newRow("wrong, another sound")
        << 2 << QStringLiteral("Anlaut: f")
        << QStringList{"n/0.wav", "saetze/am-anfang-hoerst-du.wav", "laute/f.wav",
                       "saetze/nochmal.wav"};
}

void TestSpeech::feedback() {
    QFETCH(int, slot);
    QFETCH(QString, anlaut);
    QFETCH(QStringList, said);
    feedPageB(*form);
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false);
    form->show();
    if (!anlaut.isEmpty())
        TestLibrary::writeBytes(library->path(QStringLiteral("n/0.txt")), anlaut.toUtf8());
    log->clear();
    onNext<Form2>([&](Form2& feedback) {
        QVERIFY(waitUntil([&] { return log->played().size() >= said.size(); }, 5000));
        form->Rng.feed({letter(2), pick(0, 2), box(0), letter(13), pick(1, 2), box(1), letter(14),
                        pick(0, 2)});
        QTest::mouseClick(&feedback.Picture1, Qt::LeftButton);
    });
    QTest::mouseClick(&form->Picture2[std::size_t(slot)], Qt::LeftButton);
    QCOMPARE(log->files(), said + QStringList{"laute/b.wav"});
    // The pauses lie between the pieces, so that the sound at the end stands alone.
    const QList<SpeechLog::Played> played = log->played();
    QVERIFY(played[1].atMs - played[0].atMs >= 300);
    QVERIFY(played[2].atMs - played[1].atMs >= 300);
}

void TestSpeech::missingFiles() {
    feedPageB(*form);
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false);
    form->show();
    QVERIFY(QFile::remove(library->path(QStringLiteral("b/0.wav"))));
    QVERIFY(QFile::remove(library->path(QStringLiteral("laute/m.wav"))));
    const auto answer = [&](int slot) {
        log->clear();
        onNext<Form2>([&](Form2& feedback) {
            QTest::qWait(900);
            feedPageB(*form);
            QTest::mouseClick(&feedback.Picture1, Qt::LeftButton);
        });
        QTest::mouseClick(&form->Picture2[std::size_t(slot)], Qt::LeftButton);
        return log->files();
    };
    QCOMPARE(answer(1), (QStringList{"m/1.wav", "laute/b.wav"}));
    QCOMPARE(answer(0), (QStringList{"saetze/richtig.wav", "laute/b.wav"}));
}

void TestSpeech::silentBehindResults() {
    feedPageB(*form);
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false);
    form->Label3.setText(QStringLiteral("1"));
    log->clear();
    int saidBehindResults = -1;
    int stopsAtResults = -1;
    onNext<Form2>([&](Form2&) {
        // The game's last second runs out while the face speaks.
        form->Timer1.setInterval(50);
        form->Timer1.setEnabled(true);
    });
    onNext<Form4>([&](Form4& results) {
        stopsAtResults = log->stops();
        const qsizetype before = log->played().size();
        QTest::qWait(900);
        saidBehindResults = int(log->played().size() - before);
        form->Timer1.setInterval(1000);
        QTest::mouseClick(&results.Command1, Qt::LeftButton, {}, QPoint(5, 5), 500);
    });
    form->Rng.feed({0.0}); // the page stays after a wrong answer
    QTest::mouseClick(&form->Picture2[1], Qt::LeftButton);
    QVERIFY(stopsAtResults >= 1);
    QCOMPARE(saidBehindResults, 0);
    QCOMPARE(log->files().last(), QStringLiteral("laute/b.wav"));
    form->Timer1.setEnabled(false);
}

QTEST_MAIN(TestSpeech)
#include "tst_speech.moc"
