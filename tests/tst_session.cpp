// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>

using lautgarten::Form1;
using lautgarten::Form2;
using lautgarten::Form4;
using platform::AppInfo;
using testsupport::onNext;
using testsupport::TestLibrary;

class TestSession : public QObject {
    Q_OBJECT

private slots:
    // A long afternoon: many pages, and 200 games through the real windows, some of them
    // ending while a face is open. Every game leaves exactly one line, in order, with its hits;
    // run under the leak checker, nothing may stay behind.
    void longSession();
};

void TestSession::longSession() {
    TestLibrary library(5);
    Form1 form(AppInfo{library.appPath()});
    testsupport::startGame(form, QStringLiteral("Spiel 1"));
    form.show();

    for (int page = 0; page < 10000; ++page)
        form.Picture3_Click();

    form.Timer1.setInterval(1);
    // The results of 200 games each wait out the double-click interval; a short one will do.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(20);
    QStringList expected;
    int gamesEnded = 0;
    for (int game = 1; game <= 200; ++game) {
        form.Label4.setText(QStringLiteral("Spiel %1").arg(game));
        onNext<Form4>([&gamesEnded](Form4& results) {
            ++gamesEnded;
            testsupport::waitOutClickShield();
            QTest::mouseClick(&results.Command1, Qt::LeftButton);
        });
        // One right answer, and in odd games a wrong one as well.
        onNext<Form2>([](Form2& face) { QTest::mouseClick(&face.Picture1, Qt::LeftButton); });
        QTest::mouseClick(&form.Picture2[std::size_t(form.CorrectSlot)], Qt::LeftButton);
        int hits = 1;
        const bool endInsideFace = game % 5 == 0;
        if (game % 2 == 1 || endInsideFace) {
            const bool right = endInsideFace && game % 10 == 0;
            onNext<Form2>([&form, endInsideFace](Form2& face) {
                if (endInsideFace)
                    form.Label3.setText(QStringLiteral("1")); // the clock closes the face
                else
                    QTest::mouseClick(&face.Picture1, Qt::LeftButton);
            });
            const int16_t slot = right ? form.CorrectSlot : int16_t((form.CorrectSlot + 1) % 3);
            QTest::mouseClick(&form.Picture2[std::size_t(slot)], Qt::LeftButton);
            hits += right ? 1 : 0;
        }
        expected << QStringLiteral(" - Spiel %1 - %2 Treffer").arg(game).arg(hits);
        QVERIFY(testsupport::waitUntil([&] { return gamesEnded == game; }));
        QVERIFY(!form.Form2.isLoaded());
    }

    const QListWidget& list = form.Form4->List1;
    QCOMPARE(list.count(), 200);
    for (int i = 0; i < 200; ++i)
        QVERIFY2(list.item(i)->text().endsWith(expected[i]), qPrintable(list.item(i)->text()));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
