// SPDX-License-Identifier: Apache-2.0
// The game's random generator, and the scripted values the tests feed it.
#include "platform/random.h"
#include "testsupport.h"

#include <QTest>

using namespace platform;

class TestRandom : public QObject {
    Q_OBJECT

private slots:
    // Scripted values come first, in order; the generator's own stay in [0, 1).
    void scriptedRandom();
};

void TestRandom::scriptedRandom() {
    Random random;
    random.feed({0.25, 0.0, 0.999});
    random.Randomize(); // re-seeding does not drop scripted values
    QCOMPARE(random.Rnd(), 0.25);
    QCOMPARE(random.Rnd(), 0.0);
    QCOMPARE(random.Rnd(), 0.999);
    QCOMPARE(random.scriptLeft(), std::size_t(0));
    for (int i = 0; i < 10000; ++i) {
        const double r = random.Rnd();
        QVERIFY(r >= 0.0 && r < 1.0);
    }
}

QTEST_MAIN(TestRandom)
#include "tst_random.moc"
