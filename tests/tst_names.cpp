// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "testsupport.h"

#include <QTest>

using lautgarten::Form1;
using lautgarten::Form3;
using lautgarten::Form4;
using platform::AppInfo;
using testsupport::onNext;
using testsupport::TestLibrary;

class TestNames : public QObject {
    Q_OBJECT

private slots:
    // Whatever a child types or pastes into the name box reaches the main window and the
    // result line whole and as plain text, and every window still draws.
    void strangeNames_data();
    void strangeNames();
};

void TestNames::strangeNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("typed");
    QTest::newRow("markup typed") << QStringLiteral("<b>Max</b> & <i>Moritz</i>") << true;
    QTest::newRow("markup pasted")
        << QStringLiteral("<img src=\"x\"><a href=\"#\">Lea</a>") << false;
    QTest::newRow("10000 characters") << QString(10000, QLatin1Char('M')) << false;
    QTest::newRow("10000 characters with blanks")
        << QStringLiteral("Lina ").repeated(2000) << false;
    QTest::newRow("emoji") << QStringLiteral("Mia \U0001F600\U0001F98A\U0001F1E9\U0001F1EA")
                           << false;
    QTest::newRow("right to left")
        << QStringLiteral("\u05D3\u05E0\u05D4 \u0644\u064A\u0646\u0627 Max") << false;
    QTest::newRow("control characters")
        << QStringLiteral("Ben\u0001\u0007\u001B[31m\u202E") << false;
    QTest::newRow("lone surrogate")
        << QStringLiteral("Tom") + QChar(0xD800) + QStringLiteral("!") << false;
}

void TestNames::strangeNames() {
    QFETCH(QString, name);
    QFETCH(bool, typed);
    TestLibrary library;
    Form1 form(AppInfo{library.appPath()});
    onNext<Form3>([&](Form3& page) {
        if (typed)
            QTest::keyClicks(&page.Text1, name);
        else
            page.Text1.insert(name); // as a paste does
        QTest::keyClick(&page.Text1, Qt::Key_Return);
    });
    form.Form_Load();
    form.Timer1.setEnabled(false);
    form.show();
    QCOMPARE(form.Label4.text(), name);
    QCOMPARE(form.Label4.textFormat(), Qt::PlainText);
    QVERIFY(!form.grab().isNull());

    QString line;
    onNext<Form4>([&](Form4& results) {
        line = results.List1.item(0)->text();
        QVERIFY(!results.grab().isNull());
        testsupport::waitOutClickShield();
        QTest::mouseClick(&results.Command1, Qt::LeftButton);
    });
    form.Label3.setText(QStringLiteral("1"));
    form.Timer1_Timer();
    QVERIFY2(line.endsWith(QStringLiteral(" - ") + name + QStringLiteral(" - 0 Treffer")),
             qPrintable(line.right(80)));
}

QTEST_MAIN(TestNames)
#include "tst_names.moc"
