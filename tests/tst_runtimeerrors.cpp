// SPDX-License-Identifier: Apache-2.0
// The run-time errors: what the error box says, and the 16-bit arithmetic and table indexes
// that raise them instead of going wrong quietly.
#include "platform/integer.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QTest>
#include <array>
#include <cmath>

using namespace platform;

class TestRuntimeErrors : public QObject {
    Q_OBJECT

private slots:
    // The error box reads "Laufzeitfehler '53':", the text, and the path on its own line.
    void errorMessages_data();
    void errorMessages();

    // Signed 16-bit arithmetic stops at the edges instead of wrapping round.
    void sixteenBitArithmetic();
    // Table indexes outside the table are SubscriptOutOfRange, never a read beside it.
    void tableIndexes();
};

void TestRuntimeErrors::errorMessages_data() {
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("overflow") << ErrorNumber::Overflow << QStringLiteral("Überlauf");
    QTest::newRow("subscript") << ErrorNumber::SubscriptOutOfRange
                               << QStringLiteral("Index außerhalb des gültigen Bereichs");
    QTest::newRow("type") << ErrorNumber::TypeMismatch << QStringLiteral("Typen unverträglich");
    QTest::newRow("file") << ErrorNumber::FileNotFound << QStringLiteral("Datei nicht gefunden");
    QTest::newRow("permission") << ErrorNumber::PermissionDenied
                                << QStringLiteral("Zugriff verweigert");
    QTest::newRow("path") << ErrorNumber::PathNotFound << QStringLiteral("Pfad nicht gefunden");
    QTest::newRow("picture") << ErrorNumber::InvalidPicture << QStringLiteral("Ungültiges Bild");
}

void TestRuntimeErrors::errorMessages() {
    QFETCH(ErrorNumber, number);
    QFETCH(QString, text);
    const RuntimeError withPath(number, QStringLiteral("/x/images/a.gif"));
    QCOMPARE(
        withPath.message(),
        QStringLiteral("Laufzeitfehler '%1':\n\n%2\n\n/x/images/a.gif").arg(int(number)).arg(text));
    const RuntimeError withoutPath{number};
    QCOMPARE(withoutPath.message(),
             QStringLiteral("Laufzeitfehler '%1':\n\n%2").arg(int(number)).arg(text));
}

void TestRuntimeErrors::sixteenBitArithmetic() {
    QCOMPARE(add16(32766, 1), int16_t(32767));
    QCOMPARE(sub16(-32767, 1), int16_t(-32768));
    QVERIFY_ERROR(ErrorNumber::Overflow, add16(32767, 1));
    QVERIFY_ERROR(ErrorNumber::Overflow, sub16(-32768, 1));
    QVERIFY_ERROR(ErrorNumber::Overflow, toInt16(1e300));
    QVERIFY_ERROR(ErrorNumber::Overflow, toInt16(std::nan("")));
    // Draws from n choices never reach n, even for the largest value below 1.
    QCOMPARE(draw(0.0, 35), int16_t(0));
    QCOMPARE(draw(std::nextafter(1.0, 0.0), 35), int16_t(34));
    QCOMPARE(draw(std::nextafter(1.0, 0.0), 3), int16_t(2));
    QCOMPARE(draw(0.5, 0), int16_t(0));
}

void TestRuntimeErrors::tableIndexes() {
    std::array<int, 3> table{1, 2, 3};
    QCOMPARE(element(table, 2), 3);
    QVERIFY_ERROR(ErrorNumber::SubscriptOutOfRange, element(table, 3));
    QVERIFY_ERROR(ErrorNumber::SubscriptOutOfRange, element(table, -1));
}

QTEST_MAIN(TestRuntimeErrors)
#include "tst_runtimeerrors.moc"
