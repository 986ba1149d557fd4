// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

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

// A click as the platform delivers it, at a moment of the mouse's own clock; the second click of
// a double-click arrives as a double-click event.
void clickAt(QWidget* target, quint64 stamp, bool second = false) {
    const QPointF at = QRectF(target->rect()).center();
    for (QEvent::Type type : {second ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress,
                              QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        event.setTimestamp(stamp);
        QApplication::sendEvent(target, &event);
    }
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
    // The second click of a double-click does not act on the window that opened or showed up
    // beneath it: the face is seen, the answers are not answered unseen. A click after the
    // double-click interval does act.
    void doubleClicks_data();
    void doubleClicks();
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

void TestAnswers::doubleClicks_data() {
    QTest::addColumn<QString>("first"); // what the first click is on
    QTest::addColumn<bool>("inTime");   // the second click within the interval
    for (const char* first : {"answer", "face", "zurück zum Spiel"}) {
        QTest::addRow("%s, second click soon", first) << QString::fromUtf8(first) << true;
        QTest::addRow("%s, second click late", first) << QString::fromUtf8(first) << false;
    }
}

void TestAnswers::doubleClicks() {
    QFETCH(QString, first);
    QFETCH(bool, inTime);
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    static quint64 stamp = 100000000; // apart from QTest's clock and from the other rows
    stamp += 100000;
    const quint64 second = stamp + (inTime ? interval / 2 : interval + 10);
    QPointer<Form2> face;
    const auto answer = [this] { return &form->Picture2[std::size_t(form->CorrectSlot)]; };
    // Whatever stays open is closed here, so a row that fails does not hang.
    const auto closeFace = [this] {
        QTimer::singleShot(300, form.get(), [this] { form->Form2.Unload(); });
    };

    bool acted = false;
    if (first == QLatin1String("answer")) {
        onNext<Form2>([&](Form2& feedback) {
            face = &feedback;
            clickAt(&feedback.Picture1, second, true);
            acted = face.isNull() || !feedback.isVisible();
            closeFace();
        });
        clickAt(answer(), stamp);
    } else {
        if (first == QLatin1String("face")) {
            onNext<Form2>([&](Form2& feedback) { clickAt(&feedback.Picture1, stamp); });
            clickAt(answer(), stamp - 1000);
        } else {
            onNext<lautgarten::Form4>([&](lautgarten::Form4& results) {
                testsupport::waitOutClickShield();
                clickAt(&results.Command1, stamp);
            });
            form->Label3.setText(QStringLiteral("1"));
            form->Timer1_Timer();
            form->Timer1.setEnabled(false);
        }
        const int16_t hits = form->HitCount;
        // A face that opens is noted and closed, so that a failing row does not hang.
        QTimer::singleShot(200, form.get(), [&] {
            acted = form->Form2.isLoaded();
            form->Form2.Unload();
        });
        clickAt(answer(), second, true);
        QCOMPARE(form->HitCount, int16_t(hits + (acted ? 1 : 0)));
    }
    QCOMPARE(acted, !inTime);
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
