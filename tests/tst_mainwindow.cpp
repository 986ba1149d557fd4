// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QTest>

using lautgarten::Form1;
using platform::AppInfo;
using testsupport::TestLibrary;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    // Every control at its place and size (in twips, 15 to a pixel, at the scale of 1 the tests
    // start with), in its colours.
    void layout_data();
    void layout();
    // Start-up: game length, table, "60", the first page complete before the start page
    // shows, and the main window hidden until the start page has closed.
    void startUp();
    // "WEITER" draws a new page and changes nothing else.
    void nextPage();
    // A broken library ends start-up with its error before the start page shows.
    void startUpWithoutLetters();
};

void TestMainWindow::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QColor>("background");
    const QColor white(255, 255, 255);
    QTest::newRow("Picture4") << "Picture4" << 0 << QRect(360, 360, 615, 495) << white;
    QTest::newRow("Label2") << "Label2" << 0 << QRect(240, 960, 1335, 495) << white;
    QTest::newRow("Label3") << "Label3" << 0 << QRect(2520, 360, 615, 615) << white;
    QTest::newRow("Picture1") << "Picture1" << 0 << QRect(4560, 240, 6135, 1935) << white;
    QTest::newRow("Picture3") << "Picture3" << 0 << QRect(14280, 360, 495, 615) << white;
    QTest::newRow("Label1") << "Label1" << 0 << QRect(14040, 1080, 855, 375) << white;
    QTest::newRow("Label4") << "Label4" << 0 << QRect(480, 2640, 10215, 615) << white;
    QTest::newRow("Picture2(0)") << "Picture2" << 0 << QRect(480, 5400, 3975, 5055) << white;
    QTest::newRow("Picture2(1)") << "Picture2" << 1 << QRect(5610, 5400, 3975, 5055) << white;
    QTest::newRow("Picture2(2)") << "Picture2" << 2 << QRect(10800, 5400, 3975, 5055) << white;
}

void TestMainWindow::layout() {
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QRect, twips);
    QFETCH(QColor, background);

    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    QList<QWidget*> found;
    for (QWidget* child : form.PageArea.findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly))
        if (child->property("Index").toInt() == index)
            found << child;
    QCOMPARE(found.size(), 1);
    QWidget* control = found.first();
    QCOMPARE(control->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(control->palette().color(QPalette::Window), background);
    QVERIFY(control->autoFillBackground());
    QCOMPARE(form.size(), QSize(1008, 719));
    QCOMPARE(form.PageArea.geometry(), form.rect()); // at its designed size the window is the page
    QCOMPARE(form.windowTitle(), QStringLiteral("Lautgarten"));
}

void TestMainWindow::startUp() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    QCOMPARE(form.Label4.text(), QStringLiteral("Namefeld"));
    QCOMPARE(form.HitCount, int16_t(0));
    bool pageReady = false;
    bool mainHidden = false;
    bool timerOff = false;
    testsupport::onNextModal([&](QWidget* page) {
        pageReady = !form.Picture1.picture().isNull() && !form.Picture2[0].picture().isNull() &&
                    !form.Picture2[1].picture().isNull() && !form.Picture2[2].picture().isNull();
        mainHidden = !form.isVisible();
        timerOff = !form.Timer1.isEnabled();
        QVERIFY(qobject_cast<lautgarten::Form3*>(page));
        page->close();
    });
    form.Form_Load();
    QVERIFY(pageReady);
    QVERIFY(mainHidden);
    QVERIFY(timerOff);
    QCOMPARE(form.GameSeconds, int16_t(60));
    QCOMPARE(form.Label3.text(), QStringLiteral("60"));
    QCOMPARE(form.Label3.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(form.Label4.palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QCOMPARE(form.LetterTable[29], QStringLiteral("st"));
    QCOMPARE(form.LetterTable[32], QStringLiteral("st"));
    QCOMPARE(form.LetterTable[33], QStringLiteral("\u00f6"));
    QVERIFY(form.LetterTable[0].isEmpty());
    // Closed without its button: no name, no clock.
    QCOMPARE(form.Label4.text(), QStringLiteral("Namefeld"));
    QVERIFY(!form.Timer1.isEnabled());
    QVERIFY(!form.Form3.isLoaded());
}

void TestMainWindow::nextPage() {
    TestLibrary library(5);
    Form1 form(AppInfo{library.appPath()});
    testsupport::startGame(form, QStringLiteral("Ben"));
    form.show();
    form.HitCount = 3;
    form.Label3.setText(QStringLiteral("23"));
    form.Rng.feed({testsupport::rnd::letter(30)});
    QTest::mouseClick(&form.Picture3, Qt::LeftButton);
    QCOMPARE(form.TargetIndex, int16_t(30));
    QCOMPARE(form.HitCount, int16_t(3));
    QCOMPARE(form.Label3.text(), QStringLiteral("23"));
    QCOMPARE(form.Label4.text(), QStringLiteral("Ben"));
    QVERIFY(form.Timer1.isEnabled());
    // The captions under the buttons, the letter and the name do nothing.
    for (QWidget* dead : std::initializer_list<QWidget*>{&form.Label1, &form.Label2, &form.Label3,
                                                         &form.Label4, &form.Picture1}) {
        form.Rng.feed({0.0});
        QTest::mouseClick(dead, Qt::LeftButton);
        QCOMPARE(form.Rng.scriptLeft(), std::size_t(1));
        form.Rng.Rnd();
    }
}

void TestMainWindow::startUpWithoutLetters() {
    TestLibrary library;
    QVERIFY(QDir(library.path(QStringLiteral("buchstaben"))).removeRecursively());
    Form1 form(AppInfo{library.appPath()});
    bool startPageShown = false;
    testsupport::onNextModal([&](QWidget* page) {
        startPageShown = true;
        page->close();
    });
    form.Rng.feed({testsupport::rnd::letter(1)});
    QVERIFY_ERROR_ON(platform::ErrorNumber::PathNotFound,
                     library.path(QStringLiteral("buchstaben/a.gif")), form.Form_Load());
    QCoreApplication::processEvents();
    QVERIFY(!startPageShown);
    QVERIFY(!form.Form3.isLoaded());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
