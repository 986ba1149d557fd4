// SPDX-License-Identifier: Apache-2.0
// The controls the windows are made of: picture boxes, labels and the timer.
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/picturebox.h"
#include "platform/scale.h"
#include "platform/timer.h"
#include "testsupport.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace platform;

class TestControls : public QObject {
    Q_OBJECT

private slots:
    // A picture box draws at the picture's own size from the top-left corner, clipped.
    void pictureBoxDrawsUnscaled();
    // At the game's scale a picture covers its own size times the scale, in its proportions,
    // from the top-left corner; enlarged, its edges are filtered smoothly, not pixelated.
    void pictureBoxAtScale_data();
    void pictureBoxAtScale();
    // Only a press and a release of the left button on the box is a click.
    void pictureBoxClick();
    // Labels never interpret a typed name as rich text.
    void labelIsPlainText();
    // Switching a running timer on again does not restart its interval.
    void timerSwitch();
};

void TestControls::pictureBoxDrawsUnscaled() {
    PictureBox box;
    box.setBackColor(Qt::white);
    box.resize(20, 10);
    QImage picture(30, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    box.setPicture(Picture{QPixmap::fromImage(picture), QString()});
    const QImage shown = box.grab().toImage();
    QCOMPARE(shown.size(), QSize(20, 10)); // the box keeps its size
    QCOMPARE(QColor(shown.pixel(0, 0)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(19, 5)), QColor(Qt::red));  // clipped, not shrunk
    QCOMPARE(QColor(shown.pixel(0, 6)), QColor(Qt::white)); // below the picture: background
    QCOMPARE(QColor(shown.pixel(19, 9)), QColor(Qt::white));
}

void TestControls::pictureBoxAtScale_data() {
    QTest::addColumn<double>("factor");
    QTest::newRow("0.75") << 0.75;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2.5") << 2.5;
}

void TestControls::pictureBoxAtScale() {
    QFETCH(double, factor);
    setScale(factor);
    const auto restore = qScopeGuard([] { setScale(1); });
    PictureBox box;
    box.setBackColor(Qt::white);
    box.resize(200, 100);
    QImage picture(40, 20, QImage::Format_RGB32); // red on the left, blue on the right
    picture.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    box.setPicture(Picture{QPixmap::fromImage(picture), QString()});
    const QImage shown = box.grab().toImage();
    const int width = qRound(40 * factor), height = qRound(20 * factor);
    QCOMPARE(QColor(shown.pixel(1, 1)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(width - 2, height - 2)), QColor(Qt::blue));
    QCOMPARE(QColor(shown.pixel(width + 1, height / 2)), QColor(Qt::white));
    QCOMPARE(QColor(shown.pixel(width / 4, height + 1)), QColor(Qt::white));
    if (factor > 1) {
        bool blended = false;
        for (int x = width / 2 - 2; x <= width / 2 + 2; ++x) {
            const QColor colour = shown.pixelColor(x, height / 2);
            blended = blended || (colour != Qt::red && colour != Qt::blue);
        }
        QVERIFY(blended);
    }
}

void TestControls::pictureBoxClick() {
    PictureBox box;
    box.resize(50, 50);
    box.show();
    QSignalSpy clicks(&box, &PictureBox::Click);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    // Pressed on the box, released outside it: no click.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(80, 10));
    QCOMPARE(clicks.count(), 1);
}

void TestControls::labelIsPlainText() {
    Label label(QStringLiteral("<b>Max</b>"));
    label.resize(300, 40);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.text(), QStringLiteral("<b>Max</b>"));
    QVERIFY(label.wordWrap());
    QCOMPARE(label.alignment(), Qt::AlignLeft | Qt::AlignTop);
}

void TestControls::timerSwitch() {
    Timer timer(1000);
    QVERIFY(!timer.isEnabled());
    QCOMPARE(timer.timerType(), Qt::PreciseTimer);
    timer.setEnabled(true);
    const int id = timer.timerId();
    timer.setEnabled(true);
    QCOMPARE(timer.timerId(), id);
    timer.setEnabled(false);
    QVERIFY(!timer.isEnabled());
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
