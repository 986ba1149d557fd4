// SPDX-License-Identifier: Apache-2.0
// Text and numbers as the clock and the result line use them.
#include "platform/runtimeerror.h"
#include "platform/text.h"
#include "testsupport.h"

#include <QTest>

using namespace platform;

class TestText : public QObject {
    Q_OBJECT

private slots:
    // The clock's label goes through text and back; anything else than a number is
    // TypeMismatch.
    void numberConversions();
    // The result line's date: four-digit year, seconds, and the date alone at midnight.
    void generalDate_data();
    void generalDate();
};

void TestText::numberConversions() {
    QCOMPARE(numberText(toNumber(QStringLiteral("60")) - 1), QStringLiteral("59"));
    QCOMPARE(numberText(toNumber(QStringLiteral("1")) - 1), QStringLiteral("0"));
    QCOMPARE(numberText(-1), QStringLiteral("-1"));
    QCOMPARE(numberText(0.5), QStringLiteral("0.5"));
    QCOMPARE(toNumber(QStringLiteral(" 7 ")), 7.0);
    QVERIFY_ERROR(ErrorNumber::TypeMismatch, toNumber(QStringLiteral("")));
    QVERIFY_ERROR(ErrorNumber::TypeMismatch, toNumber(QStringLiteral("sechzig")));
}

void TestText::generalDate_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("expected");
    QTest::newRow("morning") << QDateTime(QDate(2026, 12, 6), QTime(8, 15, 42))
                             << QStringLiteral("06.12.2026 08:15:42");
    QTest::newRow("afternoon") << QDateTime(QDate(2027, 1, 9), QTime(17, 0, 5))
                               << QStringLiteral("09.01.2027 17:00:05");
    QTest::newRow("midnight") << QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0))
                              << QStringLiteral("07.12.2026");
    QTest::newRow("a second after midnight")
        << QDateTime(QDate(2026, 12, 7), QTime(0, 0, 1)) << QStringLiteral("07.12.2026 00:00:01");
}

void TestText::generalDate() {
    QFETCH(QDateTime, when);
    QFETCH(QString, expected);
    QCOMPARE(platform::generalDate(when, QLocale(QLocale::German, QLocale::Germany)), expected);
    // Other locales keep their own order but still get four digits and the seconds.
    const QString us = platform::generalDate(QDateTime(QDate(2026, 12, 6), QTime(20, 15, 42)),
                                             QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(us.contains(QLatin1String("2026")) && us.contains(QLatin1String(":42")),
             qPrintable(us));
}

QTEST_MAIN(TestText)
#include "tst_text.moc"
