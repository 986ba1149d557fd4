// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/text.h"
#include "testsupport.h"

#include <QFontInfo>
#include <QPointer>
#include <QScreen>
#include <QStyleOptionViewItem>
#include <QTest>

using lautgarten::Form1;
using lautgarten::Form2;
using lautgarten::Form4;
using platform::AppInfo;
using testsupport::onNext;
using testsupport::TestLibrary;

namespace {

// What the results window held when it opened, and what the clock showed then.
struct GameEnd {
    QStringList lines;
    QString seconds;
    bool timerOn = true;
    bool feedbackVisible = false;
};

// Answers the next results window with "zurück zum Spiel" after noting what it showed.
void leaveResults(Form1& form, GameEnd& end) {
    onNext<Form4>([&form, &end](Form4& results) {
        for (int i = 0; i < results.List1.count(); ++i)
            end.lines << results.List1.item(i)->text();
        end.seconds = form.Label3.text();
        end.timerOn = form.Timer1.isEnabled();
        end.feedbackVisible = form.Form2.isLoaded() && form.Form2->isVisible();
        testsupport::waitOutClickShield();
        QTest::mouseClick(&results.Command1, Qt::LeftButton);
    });
}

QString hits(const QString& line) {
    return line.section(QStringLiteral(" - "), -1);
}

} // namespace

class TestClock : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // The clock's timer: one second, precise, off until the start page's button.
    void timerSettings();
    // 60 ticks: 59 down to 1, then 0 ends the game in the same tick; no negative value.
    void countdown();
    // Whole games on the real timer: one line per game, in order, with the hits of that game;
    // afterwards 60 and no hits, and the first tick shows 59.
    void wholeGames();
    // The end of a game while a face is open runs inside the answer's wait: the face closes,
    // the results show, and the answer goes on afterwards.
    void endInsideFeedback_data();
    void endInsideFeedback();
    // A game left by "ZUR STARTSEITE" does not pass its hits on to the next game.
    void abandonedGame();
    // An empty name leaves nothing between the two separators; names stay plain text.
    void namesInTheLine_data();
    void namesInTheLine();
    // The results window: size, place, colours, the face of the list, the bird over it.
    void resultsWindow();
    // A name held down to 150 letters leaves the date, the time and the hits in sight, left of
    // the bird where a line passes it; the item itself keeps the whole line.
    void longNameKeepsTheHits();
    // A single click just as the clock opens the results is no click: the child has not seen
    // them. A click after the double-click interval is.
    void resultsShieldedAsTheyOpen();

private:
    std::unique_ptr<TestLibrary> library;
    std::unique_ptr<Form1> form;
};

void TestClock::init() {
    library = std::make_unique<TestLibrary>(3);
    form = std::make_unique<Form1>(AppInfo{library->appPath()});
}

void TestClock::cleanup() {
    form.reset();
    library.reset();
}

void TestClock::timerSettings() {
    QCOMPARE(form->Timer1.interval(), 1000);
    QCOMPARE(form->Timer1.timerType(), Qt::PreciseTimer);
    QVERIFY(!form->Timer1.isEnabled());
    testsupport::onNextModal([](QWidget* page) { page->close(); });
    form->Form_Load();
    QVERIFY(!form->Timer1.isEnabled());
}

void TestClock::countdown() {
    testsupport::startGame(*form, QStringLiteral("Mia"));
    form->Timer1.setEnabled(false);
    QStringList shown;
    for (int tick = 0; tick < 59; ++tick) {
        form->Timer1_Timer();
        shown << form->Label3.text();
    }
    QStringList expected;
    for (int s = 59; s >= 1; --s)
        expected << QString::number(s);
    QCOMPARE(shown, expected);
    QVERIFY(!form->Form4.isLoaded());

    GameEnd end;
    leaveResults(*form, end);
    form->Timer1_Timer();
    QCOMPARE(end.seconds, QStringLiteral("0"));
    QVERIFY(!end.timerOn);
    QCOMPARE(end.lines.size(), 1);
    QCOMPARE(form->Label3.text(), QStringLiteral("60"));
    QVERIFY(form->Timer1.isEnabled());
    // The results window is hidden, not unloaded.
    QVERIFY(form->Form4.isLoaded());
    QVERIFY(!form->Form4->isVisible());
}

void TestClock::wholeGames() {
    testsupport::startGame(*form, QStringLiteral("Mia"));
    form->Timer1.setInterval(20);
    form->show();
    const QDateTime started = QDateTime::currentDateTime();
    QList<GameEnd> ends(3);
    for (int game = 0; game < 3; ++game) {
        form->Label4.setText(QStringLiteral("Kind %1").arg(game + 1));
        leaveResults(*form, ends[game]);
        // game + 1 right answers and one wrong one, early in the game.
        for (int answer = 0; answer <= game + 1; ++answer) {
            const bool right = answer <= game;
            onNext<Form2>(
                [](Form2& feedback) { QTest::mouseClick(&feedback.Picture1, Qt::LeftButton); });
            const int16_t slot = right ? form->CorrectSlot : int16_t((form->CorrectSlot + 1) % 3);
            QTest::mouseClick(&form->Picture2[std::size_t(slot)], Qt::LeftButton);
        }
        QVERIFY(testsupport::waitUntil([&] { return ends[game].lines.size() == game + 1; }));
        QCOMPARE(form->HitCount, int16_t(0));
    }
    const QStringList& lines = ends[2].lines;
    QCOMPARE(lines.mid(0, 2), ends[1].lines);
    for (int game = 0; game < 3; ++game) {
        QVERIFY2(lines[game].endsWith(
                     QStringLiteral(" - Kind %1 - %2 Treffer").arg(game + 1).arg(game + 1)),
                 qPrintable(lines[game]));
        const QString when = lines[game].section(QStringLiteral(" - "), 0, 0);
        const QString earliest = platform::generalDate(started);
        QVERIFY2(when >= earliest.left(10), qPrintable(when));
    }
    // The first tick after "zurück zum Spiel" shows 59.
    QVERIFY(testsupport::waitUntil([&] { return form->Label3.text() != QLatin1String("60"); }));
    QCOMPARE(form->Label3.text(), QStringLiteral("59"));
    form->Timer1.setEnabled(false);
}

void TestClock::endInsideFeedback_data() {
    QTest::addColumn<bool>("right");
    QTest::newRow("laughing face") << true;
    QTest::newRow("crying face") << false;
}

void TestClock::endInsideFeedback() {
    QFETCH(bool, right);
    testsupport::startGame(*form, QStringLiteral("Ben"));
    form->Timer1.setInterval(5);
    form->show();
    form->HitCount = 4;
    QStringList before;
    for (const auto& box : form->Picture2)
        before << box.picture().path;
    const int16_t target = form->TargetIndex;

    GameEnd end;
    QPointer<Form2> feedbackWindow;
    onNext<Form2>([&](Form2& feedback) {
        feedbackWindow = &feedback;
        form->Label3.setText(QStringLiteral("1")); // the next tick ends the game
        leaveResults(*form, end);
        if (right)
            form->Rng.feed({testsupport::rnd::letter(7), 0.0, 0.0, 0.0, 0.0, 0.5, 0.5, 0.0});
    });
    const int16_t slot = right ? form->CorrectSlot : int16_t((form->CorrectSlot + 2) % 3);
    QTest::mouseClick(&form->Picture2[std::size_t(slot)], Qt::LeftButton);

    // The click's handler returned only after the whole end of the game.
    QCOMPARE(end.lines.size(), 1);
    QCOMPARE(hits(end.lines[0]), right ? QStringLiteral("5 Treffer") : QStringLiteral("4 Treffer"));
    QVERIFY(!end.feedbackVisible);
    QCOMPARE(end.seconds, QStringLiteral("0"));
    QVERIFY(feedbackWindow.isNull());
    QVERIFY(!form->Form2.isLoaded());
    QCOMPARE(form->HitCount, int16_t(0));
    QCOMPARE(form->Label3.text(), QStringLiteral("60"));
    QVERIFY(form->Timer1.isEnabled());
    QStringList after;
    for (const auto& box : form->Picture2)
        after << box.picture().path;
    if (right) {
        QCOMPARE(form->TargetIndex, int16_t(7));
        QVERIFY(after != before);
    } else {
        QCOMPARE(form->TargetIndex, target);
        QCOMPARE(after, before);
    }
}

void TestClock::abandonedGame() {
    testsupport::startGame(*form, QStringLiteral("Mia"));
    form->Timer1.setEnabled(false);
    form->show();
    for (int i = 0; i < 3; ++i) {
        onNext<Form2>(
            [](Form2& feedback) { QTest::mouseClick(&feedback.Picture1, Qt::LeftButton); });
        QTest::mouseClick(&form->Picture2[std::size_t(form->CorrectSlot)], Qt::LeftButton);
    }
    QCOMPARE(form->HitCount, int16_t(3));
    form->Label3.setText(QStringLiteral("23"));

    // Another child starts from the start page and scores once.
    onNext<lautgarten::Form3>([](lautgarten::Form3& page) {
        QTest::keyClicks(&page.Text1, QStringLiteral("Ben"));
        QTest::keyClick(&page.Text1, Qt::Key_Return);
    });
    QTest::mouseClick(&form->Picture4, Qt::LeftButton);
    QCOMPARE(form->Label3.text(), QStringLiteral("60"));
    form->Timer1.setEnabled(false);
    onNext<Form2>([](Form2& feedback) { QTest::mouseClick(&feedback.Picture1, Qt::LeftButton); });
    QTest::mouseClick(&form->Picture2[std::size_t(form->CorrectSlot)], Qt::LeftButton);

    GameEnd end;
    leaveResults(*form, end);
    form->Label3.setText(QStringLiteral("1"));
    form->Timer1_Timer();
    QCOMPARE(end.lines.size(), 1);
    QVERIFY2(end.lines[0].endsWith(QStringLiteral(" - Ben - 1 Treffer")), qPrintable(end.lines[0]));
}

void TestClock::namesInTheLine_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("markup") << QStringLiteral("<b>Max</b>");
    QTest::newRow("blanks") << QStringLiteral("  Lea  ");
}

void TestClock::namesInTheLine() {
    QFETCH(QString, name);
    testsupport::startGame(*form, name);
    form->Timer1.setEnabled(false);
    GameEnd end;
    leaveResults(*form, end);
    form->Label3.setText(QStringLiteral("1"));
    const QString before = platform::generalDate(QDateTime::currentDateTime());
    form->Timer1_Timer();
    const QString after = platform::generalDate(QDateTime::currentDateTime());
    QCOMPARE(end.lines.size(), 1);
    const QString line = end.lines[0];
    const QString ending = QStringLiteral(" - ") + name + QStringLiteral(" - 0 Treffer");
    QVERIFY2(line == before + ending || line == after + ending, qPrintable(line));
}

void TestClock::resultsWindow() {
    Form4& results = form->Form4.get();
    QCOMPARE(results.size(), QSize(625, 370));
    QVERIFY(results.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(results.frameGeometry().center(), results.screen()->geometry().center());
    QCOMPARE(results.List1.geometry(), QRect(0, 0, 625, 326));
    QCOMPARE(results.Command1.geometry(), QRect(0, 328, 625, 41));
    QCOMPARE(results.Picture1.geometry(), QRect(464, 64, 129, 177));
    QCOMPARE(results.Command1.text(), QStringLiteral("zurück zum Spiel"));
    QCOMPARE(results.List1.palette().color(QPalette::Base), QColor(0, 0, 0));
    QCOMPARE(results.List1.palette().color(QPalette::Text), QColor(255, 128, 128));
    const QString face = QFontInfo(results.List1.font()).family();
    QVERIFY2(face == QLatin1String("Haettenschweiler") ||
                 face == QLatin1String("Yanone Kaffeesatz"),
             qPrintable(face));
    // The bird lies over the list's right part.
    QCOMPARE(results.childAt(QPoint(500, 150)), &results.Picture1);
    QCOMPARE(results.List1.count(), 0);
}

void TestClock::longNameKeepsTheHits() {
    const QString name(150, QLatin1Char('m'));
    testsupport::startGame(*form, name);
    form->Timer1.setEnabled(false);
    for (int game = 0; game < 6; ++game) {
        GameEnd end;
        leaveResults(*form, end);
        form->Label3.setText(QStringLiteral("1"));
        form->Timer1_Timer();
    }
    Form4& results = form->Form4.get();
    const QRect bird = results.Picture1.geometry().translated(
        -results.List1.viewport()->mapTo(&results, QPoint()));
    bool besideTheBird = false;
    for (int row = 0; row < results.List1.count(); ++row) {
        const QString line = results.List1.item(row)->text();
        QVERIFY(line.contains(QStringLiteral(" - ") + name + QStringLiteral(" - 0 Treffer")));
        const QString shown = results.lineAsShown(row);
        QVERIFY2(
            shown.startsWith(line.section(QStringLiteral(" - "), 0, 0) + QStringLiteral(" - mmm")),
            qPrintable(shown));
        QVERIFY2(shown.endsWith(QStringLiteral("mmm - 0 Treffer")), qPrintable(shown));
        QVERIFY(shown.contains(QChar(0x2026)));
        // The line as drawn ends inside the list, and left of the bird where it passes it.
        const QRect room = results.List1.visualItemRect(results.List1.item(row));
        const bool passesBird = bird.top() <= room.bottom() && bird.bottom() >= room.top();
        besideTheBird = besideTheBird || passesBird;
        QStyleOptionViewItem option;
        option.initFrom(results.List1.viewport());
        option.font = results.List1.font();
        option.fontMetrics = QFontMetrics(option.font);
        option.rect = room;
        const int drawn = results.List1.itemDelegate()
                              ->sizeHint(option, results.List1.model()->index(row, 0))
                              .width();
        QVERIFY2(drawn <= (passesBird ? bird.left() : results.List1.viewport()->width()),
                 qPrintable(QStringLiteral("row %1 drawn %2 px wide").arg(row).arg(drawn)));
    }
    QVERIFY(besideTheBird);
    // A name that fits is drawn whole.
    results.List1.item(0)->setText(QStringLiteral("01.12.2026 09:41:07 - Mia - 12 Treffer"));
    QCOMPARE(results.lineAsShown(0), results.List1.item(0)->text());
}

void TestClock::resultsShieldedAsTheyOpen() {
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false);
    bool stayed = false;
    onNext<Form4>([&stayed](Form4& results) {
        QTest::mouseClick(&results.Command1, Qt::LeftButton);
        stayed = results.isVisible();
        testsupport::waitOutClickShield();
        QTest::mouseClick(&results.Command1, Qt::LeftButton);
    });
    form->Label3.setText(QStringLiteral("1"));
    form->Timer1_Timer();
    QVERIFY(stayed);
    QVERIFY(!form->Form4->isVisible());
    QVERIFY(form->Timer1.isEnabled());
}

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
