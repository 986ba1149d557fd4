// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "testsupport.h"

#include <QTest>

using lautgarten::Form1;
using lautgarten::Form3;
using platform::AppInfo;
using testsupport::onNext;
using testsupport::TestLibrary;

class TestStartPage : public QObject {
    Q_OBJECT

private slots:
    // The instructions, character for character: 15 lines, CR LF after each, the blanks at
    // the line ends, the quotes around Weinie; the text box shows the same lines.
    void instructions();
    // The page's controls at their places, the fixed frame, the colours.
    void layout();
    // The name goes to the main window exactly as typed, by the button or by Enter; the clock
    // starts and the page is gone.
    void nameCopied_data();
    void nameCopied();
    // Closed by the window's close button: nothing copied, no clock.
    void closedWithoutButton();
    // The name box has the focus when the page appears and gets it back on every repaint.
    void nameBoxKeepsFocus();
    // A click on the button starts the game although the pressed button repaints itself.
    void buttonClickSurvivesRepaint();
    // "ZUR STARTSEITE": clock to 60 and off, hits dropped, page and name kept, and the start
    // page shown again with an empty name box.
    void backToStartPage();
};

void TestStartPage::instructions() {
    const QString& text = Form3::Instructions;
    QCOMPARE(text.size(), 484);
    QVERIFY(text.endsWith(QStringLiteral("korrigieren.\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 16);
    QVERIFY(lines.takeLast().isEmpty());
    for (int i = 0; i < lines.size(); ++i) {
        const bool blankAtEnd = i + 1 != 10 && i + 1 != 15;
        QCOMPARE(lines[i].endsWith(QLatin1Char(' ')), blankAtEnd);
        QVERIFY(!lines[i].contains(QLatin1Char('\r')) && !lines[i].contains(QLatin1Char('\n')));
    }
    QCOMPARE(lines[11], QStringLiteral("erscheint ein \"Weinie\", wird dieser "));
    QCOMPARE(lines[6], QStringLiteral("erscheint als Bestätigung ein Smilie "));

    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    QCOMPARE(form.Form3->Text2.toPlainText() + QLatin1Char('\n'),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
                 QLatin1Char('\n'));
}

void TestStartPage::layout() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    Form3& page = form.Form3.get();
    const struct {
        QWidget* control;
        QRect twips;
    } designed[] = {
        {&page.Picture3, {4440, 4680, 2295, 2415}}, {&page.Picture2, {7680, 360, 2535, 2535}},
        {&page.Text2, {6960, 3120, 3735, 4335}},    {&page.Text1, {120, 5760, 3855, 525}},
        {&page.Command1, {480, 6600, 3255, 735}},   {&page.Picture1, {120, 0, 10215, 4215}},
        {&page.Label1, {240, 5280, 3855, 375}},
    };
    for (const auto& [control, twips] : designed) {
        QCOMPARE(control->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    }
    QCOMPARE(page.size(), QSize(726, 510));
    // The banner travels cropped to what its box shows: it must still fill the box.
    QCOMPARE(page.Picture1.picture().pixmap.size(), page.Picture1.size());
    QCOMPARE(page.minimumSize(), page.maximumSize());
    QVERIFY(!(page.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(page.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(page.windowTitle(), QStringLiteral("Lautgarten"));
    QCOMPARE(page.palette().color(QPalette::Window), QColor(128, 128, 255));
    QCOMPARE(page.Command1.text(), QStringLiteral("Spiel starten"));
    QCOMPARE(page.Label1.text(), QStringLiteral("Bitte gib deinen Namen ein!"));
    QVERIFY(page.Text1.text().isEmpty());
    // Earlier controls lie over later ones: the decoration over the banner, the instructions
    // over the banner's lower right corner.
    QCOMPARE(page.childAt(QPoint(520, 30)), &page.Picture2);
    QCOMPARE(page.childAt(QPoint(680, 250))->parentWidget() == &page.Text2 ||
                 page.childAt(QPoint(680, 250)) == &page.Text2,
             true);
}

void TestStartPage::nameCopied_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enter");
    QTest::newRow("button") << QStringLiteral("Mia") << false;
    QTest::newRow("enter") << QStringLiteral("Mia") << true;
    QTest::newRow("empty, button") << QString() << false;
    QTest::newRow("empty, enter") << QString() << true;
    QTest::newRow("blanks") << QStringLiteral("   ") << false;
    QTest::newRow("blanks around") << QStringLiteral("  Max Moritz ") << true;
    QTest::newRow("markup") << QStringLiteral("<b>Max</b>") << false;
}

void TestStartPage::nameCopied() {
    QFETCH(QString, name);
    QFETCH(bool, enter);
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    onNext<Form3>([&](Form3& page) {
        QTest::keyClicks(&page.Text1, name);
        if (enter)
            QTest::keyClick(&page.Text1, Qt::Key_Return);
        else
            QTest::mouseClick(&page.Command1, Qt::LeftButton);
    });
    form.Form_Load();
    QCOMPARE(form.Label4.text(), name);
    QCOMPARE(form.Label4.textFormat(), Qt::PlainText);
    QVERIFY(form.Timer1.isEnabled());
    QVERIFY(!form.Form3.isLoaded());
    QCOMPARE(form.Label3.text(), QStringLiteral("60"));
    QCOMPARE(form.HitCount, int16_t(0));
}

void TestStartPage::closedWithoutButton() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    onNext<Form3>([](Form3& page) {
        QTest::keyClicks(&page.Text1, QStringLiteral("Ben"));
        page.close();
    });
    form.Form_Load();
    QCOMPARE(form.Label4.text(), QStringLiteral("Namefeld"));
    QVERIFY(!form.Timer1.isEnabled());
    QVERIFY(!form.Form3.isLoaded());
}

void TestStartPage::nameBoxKeepsFocus() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    bool focusedAtFirst = false;
    bool focusedAfterRepaint = false;
    onNext<Form3>([&](Form3& page) {
        focusedAtFirst = QTest::qWaitFor([&page] { return page.focusWidget() == &page.Text1; });
        page.Command1.setFocus();
        page.repaint();
        focusedAfterRepaint = page.focusWidget() == &page.Text1;
        page.close();
    });
    form.Form_Load();
    QVERIFY(focusedAtFirst);
    QVERIFY(focusedAfterRepaint);
}

void TestStartPage::buttonClickSurvivesRepaint() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    onNext<Form3>([](Form3& page) {
        QTest::keyClicks(&page.Text1, QStringLiteral("Mia"));
        QVERIFY(QTest::qWaitFor([&page] { return page.focusWidget() == &page.Text1; }));
        QTest::mousePress(&page.Command1, Qt::LeftButton);
        page.Command1.repaint(); // as the pressed look is drawn on a real screen
        QTest::mouseRelease(&page.Command1, Qt::LeftButton);
        if (page.isVisible())
            page.close(); // the click was lost
    });
    form.Form_Load();
    QCOMPARE(form.Label4.text(), QStringLiteral("Mia"));
    QVERIFY(form.Timer1.isEnabled());
}

void TestStartPage::backToStartPage() {
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    testsupport::startGame(form, QStringLiteral("Mia"));
    form.show();
    form.Label3.setText(QStringLiteral("23"));
    form.HitCount = 5;
    const int16_t target = form.TargetIndex;
    const QString shown = form.Picture2[1].picture().path;

    bool checked = false;
    onNext<Form3>([&](Form3& page) {
        QCOMPARE(form.Label3.text(), QStringLiteral("60"));
        QVERIFY(!form.Timer1.isEnabled());
        QCOMPARE(form.HitCount, int16_t(0));
        QCOMPARE(form.Label4.text(), QStringLiteral("Mia"));
        QVERIFY(page.Text1.text().isEmpty());
        checked = true;
        page.close();
    });
    QTest::mouseClick(&form.Picture4, Qt::LeftButton);
    QVERIFY(checked);
    QCOMPARE(form.TargetIndex, target);
    QCOMPARE(form.Picture2[1].picture().path, shown);
    QCOMPARE(form.Label4.text(), QStringLiteral("Mia"));
    QVERIFY(!form.Timer1.isEnabled());

    // Again, this time with the button: a new name, and the clock runs from 60.
    onNext<Form3>([](Form3& page) {
        QTest::keyClicks(&page.Text1, QStringLiteral("Ben"));
        QTest::keyClick(&page.Text1, Qt::Key_Enter);
    });
    QTest::mouseClick(&form.Picture4, Qt::LeftButton);
    QCOMPARE(form.Label4.text(), QStringLiteral("Ben"));
    QVERIFY(form.Timer1.isEnabled());
    QCOMPARE(form.Label3.text(), QStringLiteral("60"));
}

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
