// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QFile>
#include <QPointer>
#include <QTest>

using lautgarten::Form1;
using lautgarten::Form2;
using platform::AppInfo;
using platform::ErrorNumber;
using testsupport::onNext;
using testsupport::TestLibrary;

namespace {

struct Page {
    int16_t target;
    QStringList shown;
    bool operator==(const Page&) const = default;
};

Page pageOf(const Form1& form) {
    QStringList shown;
    for (const auto& box : form.Picture2)
        shown << box.picture().path;
    return {form.TargetIndex, shown};
}

int16_t wrongSlot(const Form1& form, int which) {
    return int16_t((form.CorrectSlot + 1 + which) % 3);
}

} // namespace

class TestAnswers : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // A right answer: one more hit before the face opens, the laughing face, then a new page.
    void rightAnswer();
    // A wrong answer: the crying face, and the same page and hits afterwards, every time.
    void wrongAnswer();
    // Each answer loads the window afresh, so the face always fits the latest answer.
    void faceFollowsLatestAnswer();
    // The feedback window closes only by a click on the face.
    void onlyTheFaceCloses();
    // A missing face is FileNotFound naming the file; a hit count at its limit is Overflow.
    void answerErrors();

private:
    std::unique_ptr<TestLibrary> library;
    std::unique_ptr<Form1> form;
};

void TestAnswers::init() {
    library = std::make_unique<TestLibrary>(4);
    form = std::make_unique<Form1>(AppInfo{library->appPath()});
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false); // these answers take no time
    form->show();
}

void TestAnswers::cleanup() {
    form.reset();
    library.reset();
}

void TestAnswers::rightAnswer() {
    const Page before = pageOf(*form);
    bool faceShown = false;
    onNext<Form2>([&](Form2& feedback) {
        QCOMPARE(form->HitCount, int16_t(1));
        QCOMPARE(feedback.Picture1.picture().path,
                 library->path(QStringLiteral("special/lachi.gif")));
        QVERIFY(feedback.Picture1.isVisible());
        faceShown = true;
        // The next page: letter ü, all from the first file.
        form->Rng.feed({34.5 / 35, 0.0, 0.0, 0.0, 0.0, 0.5, 0.5, 0.0});
        QTest::mouseClick(&feedback.Picture1, Qt::LeftButton);
    });
    QTest::mouseClick(&form->Picture2[std::size_t(form->CorrectSlot)], Qt::LeftButton);
    QVERIFY(faceShown);
    QCOMPARE(form->HitCount, int16_t(1));
    QVERIFY(!form->Form2.isLoaded());
    QCOMPARE(form->TargetIndex, int16_t(35));
    QVERIFY(pageOf(*form) != before);
    QCOMPARE(form->Rng.scriptLeft(), std::size_t(0));
}

void TestAnswers::wrongAnswer() {
    const Page before = pageOf(*form);
    for (int click = 0; click < 3; ++click) {
        const int16_t slot = wrongSlot(*form, click == 2 ? 1 : 0); // the same one twice
        bool crying = false;
        onNext<Form2>([&](Form2& feedback) {
            crying = feedback.Picture1.picture().path ==
                     library->path(QStringLiteral("special/weini.gif"));
            QTest::mouseClick(&feedback.Picture1, Qt::LeftButton);
        });
        form->Rng.feed({0.0}); // would be used by a new page, which must not come
        QTest::mouseClick(&form->Picture2[std::size_t(slot)], Qt::LeftButton);
        QVERIFY(crying);
        QCOMPARE(form->HitCount, int16_t(0));
        QCOMPARE(pageOf(*form), before);
        QCOMPARE(form->Rng.scriptLeft(), std::size_t(1));
        form->Rng.Rnd();
        QVERIFY(!form->Form2.isLoaded());
    }
}

void TestAnswers::faceFollowsLatestAnswer() {
    QStringList faces;
    QList<QPointer<Form2>> windows;
    const auto answer = [&](bool right) {
        onNext<Form2>([&](Form2& feedback) {
            faces << feedback.Picture1.picture().path.section(QLatin1Char('/'), -1);
            windows << &feedback;
            QTest::mouseClick(&feedback.Picture1, Qt::LeftButton);
        });
        const int16_t slot = right ? form->CorrectSlot : wrongSlot(*form, 0);
        QTest::mouseClick(&form->Picture2[std::size_t(slot)], Qt::LeftButton);
    };
    answer(true);
    answer(false);
    answer(false);
    answer(true);
    QCOMPARE(faces, (QStringList{QStringLiteral("lachi.gif"), QStringLiteral("weini.gif"),
                                 QStringLiteral("weini.gif"), QStringLiteral("lachi.gif")}));
    // Every window was released when it closed.
    for (const auto& window : windows)
        QVERIFY(window.isNull());
    QCOMPARE(form->HitCount, int16_t(2));
}

void TestAnswers::onlyTheFaceCloses() {
    bool stayedOpen = false;
    onNext<Form2>([&](Form2& feedback) {
        QVERIFY(!feedback.windowFlags().testFlag(Qt::WindowTitleHint) ||
                feedback.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(feedback.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(feedback.Picture1.geometry(), QRect(304, 160, 529, 513));
        QTest::mouseClick(&feedback, Qt::LeftButton, {}, QPoint(10, 10));
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_A})
            QTest::keyClick(&feedback, key);
        feedback.close();
        stayedOpen = feedback.isVisible() && QApplication::activeModalWidget() == &feedback;
        QTest::mouseClick(&feedback.Picture1, Qt::LeftButton, {}, QPoint(1, 1));
    });
    QTest::mouseClick(&form->Picture2[std::size_t(form->CorrectSlot)], Qt::LeftButton);
    QVERIFY(stayedOpen);
    QVERIFY(!form->Form2.isLoaded());
}

void TestAnswers::answerErrors() {
    QVERIFY(QFile::remove(library->path(QStringLiteral("special/lachi.gif"))));
    QVERIFY_ERROR_ON(ErrorNumber::FileNotFound, library->path(QStringLiteral("special/lachi.gif")),
                     form->Picture2_Click(form->CorrectSlot));
    QCOMPARE(form->HitCount, int16_t(1)); // counted before the face was needed
    form->Form2.Unload();

    form->HitCount = 32767;
    QVERIFY_ERROR(ErrorNumber::Overflow, form->Picture2_Click(form->CorrectSlot));
    QCOMPARE(form->HitCount, int16_t(32767));
    QVERIFY(!form->Form2.isLoaded());
}

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
