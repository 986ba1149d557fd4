// SPDX-License-Identifier: Apache-2.0
// A laptop and a beamer (ctest gives the offscreen platform both screens): the game moved to the
// beamer takes the beamer's scale, and every window opens there, centred.
#include "game/form1.h"
#include "platform/scale.h"
#include "testsupport.h"

#include <QScreen>
#include <QTest>
#include <memory>

using lautgarten::Form1;
using lautgarten::Form2;
using lautgarten::Form3;
using lautgarten::Form4;
using platform::scale;
using platform::twips;
using testsupport::onNext;

namespace {

// The scale at which the page fits a maximized window on screen.
double fitting(const QScreen* screen) {
    return platform::fittingScale(
        Form1::PageTwips,
        screen->availableGeometry().marginsRemoved(platform::windowFrame(*screen)).size());
}

} // namespace

class TestScreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    // Moved to the other screen, the main window's page is drawn at that screen's scale.
    void pageFollowsTheWindow_data();
    void pageFollowsTheWindow();
    // The face, the start page and the results (made on the first screen) open on the screen
    // that shows the main window, centred, at its scale.
    void windowsOpenWhereTheGameIs_data();
    void windowsOpenWhereTheGameIs();

private:
    // Moves the main window as a window manager does: unmaximized, and maximized on the other.
    void moveTo(QScreen* screen);

    std::unique_ptr<testsupport::TestLibrary> library;
    std::unique_ptr<Form1> form;
    QScreen* laptop = nullptr;
    QScreen* beamer = nullptr;
};

void TestScreens::initTestCase() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    laptop = QGuiApplication::primaryScreen();
    beamer = screens[0] == laptop ? screens[1] : screens[0];
    QCOMPARE(laptop->size(), QSize(1366, 768));
    QVERIFY(fitting(beamer) > fitting(laptop) * 1.2);
    // As the program starts: the scale of the primary screen, then the main window.
    const QRect maximized = platform::fitToScreen(Form1::PageTwips);
    library = std::make_unique<testsupport::TestLibrary>(3);
    form = std::make_unique<Form1>(platform::AppInfo{library->appPath()});
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false);
    form->setGeometry(maximized);
    form->showMaximized();
    platform::followScreen(form.get(), Form1::PageTwips);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->screen(), laptop);
    form->Form4.get(); // the results window, made on the laptop
}

void TestScreens::moveTo(QScreen* screen) {
    form->showNormal();
    form->setGeometry(screen->availableGeometry().adjusted(50, 50, -50, -50));
    form->showMaximized();
    QTRY_COMPARE(form->screen(), screen);
}

void TestScreens::pageFollowsTheWindow_data() {
    QTest::addColumn<bool>("toBeamer");
    QTest::newRow("to the beamer") << true;
    QTest::newRow("back to the laptop") << false;
    QTest::newRow("to the beamer again") << true;
}

void TestScreens::pageFollowsTheWindow() {
    QFETCH(bool, toBeamer);
    QScreen* screen = toBeamer ? beamer : laptop;
    moveTo(screen);
    QCOMPARE(scale(), fitting(screen));
    QCOMPARE(form->PageArea.size(),
             QSize(twips(Form1::PageTwips.width()), twips(Form1::PageTwips.height())));
    QTRY_VERIFY(form->rect().contains(form->PageArea.geometry()));
    QCOMPARE(form->Picture2[2].pos(),
             QPoint(twips(Form1::AnswerLeftTwips[2]), twips(Form1::AnswerTopTwips)));
    QCOMPARE(form->Label3.font().pixelSize(),
             platform::designFont(QStringLiteral("Arial"), 21.75).pixelSize());
}

void TestScreens::windowsOpenWhereTheGameIs_data() {
    QTest::addColumn<QString>("window");
    for (const char* window : {"Form2", "Form3", "Form4"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void TestScreens::windowsOpenWhereTheGameIs() {
    QFETCH(QString, window);
    moveTo(beamer);
    QRect opened;
    QScreen* openedOn = nullptr;
    QSize size;
    const auto note = [&](QWidget& shown) {
        opened = shown.frameGeometry();
        openedOn = shown.screen();
        size = shown.size();
    };
    if (window == QLatin1String("Form2")) {
        onNext<Form2>([&](Form2& face) {
            note(face);
            face.Picture1_Click();
        });
        form->Picture2_Click(form->CorrectSlot);
        QCOMPARE(opened, beamer->availableGeometry());
    } else if (window == QLatin1String("Form3")) {
        onNext<Form3>([&](Form3& start) {
            note(start);
            start.Command1_Click();
        });
        form->Picture4_Click();
        QCOMPARE(size, QSize(twips(10890), twips(7650)));
    } else {
        onNext<Form4>([&](Form4& results) {
            note(results);
            results.Command1_Click();
        });
        form->Label3.setText(QStringLiteral("1"));
        form->Timer1_Timer();
        form->Timer1.setEnabled(false);
        QCOMPARE(size, QSize(twips(9375), twips(5550)));
    }
    QCOMPARE(openedOn, beamer);
    QVERIFY2(std::abs(opened.center().x() - beamer->geometry().center().x()) <= 3 &&
                 std::abs(opened.center().y() - beamer->geometry().center().y()) <= 3,
             qPrintable(QStringLiteral("%1 opened at %2,%3")
                            .arg(window)
                            .arg(opened.center().x())
                            .arg(opened.center().y())));
}

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
