// SPDX-License-Identifier: Apache-2.0
#include "platform/decodedpicture.h"
#include "platform/filelistbox.h"
#include "platform/integer.h"
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/picturebox.h"
#include "platform/random.h"
#include "platform/runtimeerror.h"
#include "platform/scale.h"
#include "platform/text.h"
#include "platform/timer.h"
#include "testsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDataStream>
#include <QDirIterator>
#include <QPainter>
#include <QRandomGenerator>
#include <QResource>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <cstring>

using namespace platform;
using testsupport::TestLibrary;

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    // The error box reads "Laufzeitfehler '53':", the text, and the path on its own line.
    void errorMessages_data();
    void errorMessages();

    // Signed 16-bit arithmetic stops at the edges instead of wrapping round.
    void sixteenBitArithmetic();
    // Table indexes outside the table are SubscriptOutOfRange, never a read beside it.
    void tableIndexes();

    // The clock's label goes through text and back; anything else than a number is
    // TypeMismatch.
    void numberConversions();
    // The result line's date: four-digit year, seconds, and the date alone at midnight.
    void generalDate_data();
    void generalDate();

    // Scripted values come first, in order; the generator's own stay in [0, 1).
    void scriptedRandom();

    // The hidden file list: files only, sorted, no hidden files, no sub-folders.
    void fileListing();
    void fileListingMissingFolder();
    void fileListingOutOfRange();

    // Picture loading: what loads, and which error each kind of bad file gives.
    void loadPicture_data();
    void loadPicture();
    // The windows' pictures decoded at build time are the very pixels of their files, stored
    // for every one of them; bytes cut short or of another size are no picture.
    void decodedPictures();
    // A photo shows as taken: turned upright as its orientation tag says, only the part its box
    // shows decoded, and its size counted upright.
    void photoUpright_data();
    void photoUpright();
    // Names stored decomposed on disk are still found under their composed names.
    void decomposedNames();

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

void TestPlatform::errorMessages_data() {
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("overflow") << ErrorNumber::Overflow << QStringLiteral("Überlauf");
    QTest::newRow("subscript") << ErrorNumber::SubscriptOutOfRange
                               << QStringLiteral("Index außerhalb des gültigen Bereichs");
    QTest::newRow("type") << ErrorNumber::TypeMismatch << QStringLiteral("Typen unverträglich");
    QTest::newRow("file") << ErrorNumber::FileNotFound << QStringLiteral("Datei nicht gefunden");
    QTest::newRow("path") << ErrorNumber::PathNotFound << QStringLiteral("Pfad nicht gefunden");
    QTest::newRow("picture") << ErrorNumber::InvalidPicture << QStringLiteral("Ungültiges Bild");
}

void TestPlatform::errorMessages() {
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

void TestPlatform::sixteenBitArithmetic() {
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

void TestPlatform::tableIndexes() {
    std::array<int, 3> table{1, 2, 3};
    QCOMPARE(element(table, 2), 3);
    QVERIFY_ERROR(ErrorNumber::SubscriptOutOfRange, element(table, 3));
    QVERIFY_ERROR(ErrorNumber::SubscriptOutOfRange, element(table, -1));
}

void TestPlatform::numberConversions() {
    QCOMPARE(numberText(toNumber(QStringLiteral("60")) - 1), QStringLiteral("59"));
    QCOMPARE(numberText(toNumber(QStringLiteral("1")) - 1), QStringLiteral("0"));
    QCOMPARE(numberText(-1), QStringLiteral("-1"));
    QCOMPARE(numberText(0.5), QStringLiteral("0.5"));
    QCOMPARE(toNumber(QStringLiteral(" 7 ")), 7.0);
    QVERIFY_ERROR(ErrorNumber::TypeMismatch, toNumber(QStringLiteral("")));
    QVERIFY_ERROR(ErrorNumber::TypeMismatch, toNumber(QStringLiteral("sechzig")));
}

void TestPlatform::generalDate_data() {
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

void TestPlatform::generalDate() {
    QFETCH(QDateTime, when);
    QFETCH(QString, expected);
    QCOMPARE(platform::generalDate(when, QLocale(QLocale::German, QLocale::Germany)), expected);
    // Other locales keep their own order but still get four digits and the seconds.
    const QString us = platform::generalDate(QDateTime(QDate(2026, 12, 6), QTime(20, 15, 42)),
                                             QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(us.contains(QLatin1String("2026")) && us.contains(QLatin1String(":42")),
             qPrintable(us));
}

void TestPlatform::scriptedRandom() {
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

void TestPlatform::fileListing() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/a");
    QDir().mkpath(folder + QStringLiteral("/Unterordner"));
    for (const char* name : {"Zebra.png", "Apfel.png", ".versteckt.png", "Mond.png"})
        TestLibrary::writePicture(folder + QLatin1Char('/') + QLatin1String(name));

    FileListBox list;
    list.setPath(folder);
    QCOMPARE(list.path(), folder);
    QCOMPARE(list.listCount(), int16_t(3));
    QCOMPARE(list.list(0), QStringLiteral("Apfel.png"));
    QCOMPARE(list.list(1), QStringLiteral("Mond.png"));
    QCOMPARE(list.list(2), QStringLiteral("Zebra.png"));

    // Setting the path lists afresh: a file added since shows up.
    TestLibrary::writePicture(folder + QStringLiteral("/Birne.png"));
    list.setPath(folder);
    QCOMPARE(list.listCount(), int16_t(4));
    QCOMPARE(list.list(1), QStringLiteral("Birne.png"));
}

void TestPlatform::fileListingMissingFolder() {
    QTemporaryDir dir;
    FileListBox list;
    const QString missing = dir.path() + QStringLiteral("/gibtsnicht");
    QVERIFY_ERROR_ON(ErrorNumber::PathNotFound, missing, list.setPath(missing));
    // A file is no folder either.
    TestLibrary::writePicture(dir.path() + QStringLiteral("/datei.png"));
    QVERIFY_ERROR(ErrorNumber::PathNotFound,
                  list.setPath(dir.path() + QStringLiteral("/datei.png")));
}

void TestPlatform::fileListingOutOfRange() {
    QTemporaryDir dir;
    FileListBox list;
    list.setPath(dir.path());
    QCOMPARE(list.listCount(), int16_t(0));
    QCOMPARE(list.list(0), QString());
    QCOMPARE(list.list(-1), QString());
}

void TestPlatform::loadPicture_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("error"); // 0: loads, otherwise an ErrorNumber

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(&buffer, "PNG");
    }
    // A GIF header that claims 60000 x 60000 pixels and holds nothing more.
    QByteArray hugeGif = QByteArray("GIF89a") + QByteArray::fromHex("60ea60ea000000");
    hugeGif += QByteArray::fromHex("2c0000000060ea60ea000202440100003b");

    // A text chunk before the end that claims 1.8 GB; the file holds a few bytes of it.
    QByteArray hugeChunk = png;
    hugeChunk.insert(png.size() - 12, QByteArray::fromHex("70000000") + "tEXtdate:create");

    // A byte of the pixel data changed in an interrupted copy: the chunk's checksum says so.
    QByteArray damagedPng = png;
    damagedPng[damagedPng.indexOf("IDAT") + 6] ^= 0x10;

    QTest::newRow("picture") << png << 0;
    QTest::newRow("PNG with a damaged byte") << damagedPng << int(ErrorNumber::InvalidPicture);
    QTest::newRow("chunk longer than the file") << hugeChunk << int(ErrorNumber::InvalidPicture);
    QTest::newRow("empty") << QByteArray() << int(ErrorNumber::InvalidPicture);
    // Files cut short by an interrupted copy, which Qt decodes as far as they go and fills grey.
    const QByteArray jpeg = testsupport::photo({800, 600});
    QFile gif(QStringLiteral(LAUTGARTEN_SOURCE_DIR "/images/buchstaben/a.gif"));
    QVERIFY(gif.open(QIODevice::ReadOnly));
    const QByteArray letter = gif.readAll();
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        QImage(30, 20, QImage::Format_RGB32).save(&buffer, "BMP");
    }
    QTest::newRow("photo cut at half")
        << jpeg.left(jpeg.size() / 2) << int(ErrorNumber::InvalidPicture);
    QTest::newRow("photo without its end marker")
        << jpeg.chopped(2) << int(ErrorNumber::InvalidPicture);
    QTest::newRow("GIF cut at half")
        << letter.left(letter.size() / 2) << int(ErrorNumber::InvalidPicture);
    QTest::newRow("GIF without its trailer") << letter.chopped(1) << 0;
    QTest::newRow("BMP short of one row")
        << bmp.chopped(30 * 3) << int(ErrorNumber::InvalidPicture);
    QTest::newRow("text") << QByteArray("Das ist kein Bild.\n") << int(ErrorNumber::InvalidPicture);
    QTest::newRow("huge header") << hugeGif << int(ErrorNumber::InvalidPicture);
}

void TestPlatform::decodedPictures() {
    // The pixels alone: a file's picture also carries its colour space, the decoded one none.
    const auto samePixels = [](const QImage& a, const QImage& b) {
        const QImage left = a.convertToFormat(platform::DecodedPicture::Format);
        const QImage right = b.convertToFormat(platform::DecodedPicture::Format);
        if (left.size() != right.size())
            return false;
        for (int y = 0; y < left.height(); ++y) {
            if (std::memcmp(left.constScanLine(y), right.constScanLine(y), left.width() * 4) != 0)
                return false;
        }
        return true;
    };
    int checked = 0;
    for (QDirIterator it(QStringLiteral(":/pictures"), {QStringLiteral("*.png")}); it.hasNext();) {
        const QString path = it.next();
        QString decoded = QStringLiteral(":/decoded/") + path.mid(2);
        decoded.replace(QStringLiteral(".png"), QStringLiteral(".pixels"));
        QVERIFY2(QResource(decoded).isValid(), qPrintable(path));
        // A picture of which its box shows only a part is stored cropped to that part.
        const QImage shown = platform::LoadPicture(path).pixmap.toImage();
        QVERIFY2(samePixels(shown, QImage(path).copy(shown.rect())), qPrintable(path));
        ++checked;
    }
    QVERIFY(checked >= 10);

    const QImage picture = QImage(QStringLiteral(":/pictures/house.png"));
    const QByteArray bytes = platform::DecodedPicture::encode(picture);
    const auto decode = [](const QByteArray& data) {
        return platform::DecodedPicture::decode(reinterpret_cast<const uchar*>(data.constData()),
                                                data.size());
    };
    QVERIFY(samePixels(decode(bytes), picture));
    QCOMPARE(decode(QByteArray(1, 'x') + bytes).isNull(), true); // not at the header
    QCOMPARE(decode(bytes.chopped(4)).isNull(), true);
    QByteArray wider = bytes;
    wider[4] = char(wider[4] + 1);
    QCOMPARE(decode(wider).isNull(), true);
    QByteArray otherFormat = bytes;
    otherFormat[16] = char(QImage::Format_Indexed8);
    QCOMPARE(decode(otherFormat).isNull(), true);
    // Rows that do not start on a word are copied, not read in place.
    QByteArray shifted = QByteArray(1, 'x') + bytes;
    QVERIFY(samePixels(platform::DecodedPicture::decode(
                           reinterpret_cast<const uchar*>(shifted.constData()) + 1, bytes.size()),
                       picture));
}

void TestPlatform::loadPicture() {
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/bild.gif");
    TestLibrary::writeBytes(path, content);
    // Whole, and for a box, which decodes only the part the box shows.
    for (const QSize box : {QSize(), QSize(1000, 1000)}) {
        if (error == 0) {
            const Picture picture = LoadPicture(path, box);
            QVERIFY(!picture.isNull());
            QCOMPARE(picture.path, path);
        } else {
            QVERIFY_ERROR_ON(ErrorNumber(error), path, LoadPicture(path, box));
        }
    }
    // Missing files and folders given as pictures are FileNotFound, a missing folder on the way
    // PathNotFound.
    QVERIFY_ERROR(ErrorNumber::FileNotFound,
                  LoadPicture(dir.path() + QStringLiteral("/fehlt.gif")));
    QVERIFY_ERROR(ErrorNumber::FileNotFound, LoadPicture(dir.path() + QLatin1Char('/')));
    QVERIFY_ERROR(ErrorNumber::PathNotFound,
                  LoadPicture(dir.path() + QStringLiteral("/fehlt/bild.gif")));
}

// Stored 64 x 32 in four coloured quarters; each row names the colour that ends up top left.
void TestPlatform::photoUpright_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("upright");
    QTest::addColumn<QColor>("topLeft");
    QTest::newRow("as stored") << 1 << QSize(64, 32) << QColor(Qt::red);
    QTest::newRow("portrait from a phone") << 6 << QSize(32, 64) << QColor(Qt::blue);
    QTest::newRow("portrait, turned the other way") << 8 << QSize(32, 64) << QColor(Qt::green);
    QTest::newRow("upside down") << 3 << QSize(64, 32) << QColor(Qt::yellow);
}

void TestPlatform::photoUpright() {
    QFETCH(int, orientation);
    QFETCH(QSize, upright);
    QFETCH(QColor, topLeft);
    QImage stored(64, 32, QImage::Format_RGB32);
    QPainter painter(&stored);
    painter.fillRect(0, 0, 32, 16, Qt::red);
    painter.fillRect(32, 0, 32, 16, Qt::green);
    painter.fillRect(0, 16, 32, 16, Qt::blue);
    painter.fillRect(32, 16, 32, 16, Qt::yellow);
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "JPG", 95);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Foto.jpg");
    TestLibrary::writeBytes(path, testsupport::withOrientation(jpeg, orientation));

    const auto near = [](QRgb pixel, const QColor& colour) {
        return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
                   std::abs(qBlue(pixel) - colour.blue()) <
               90;
    };
    const Picture whole = LoadPicture(path);
    QCOMPARE(whole.size, upright);
    QCOMPARE(whole.pixmap.size(), upright);
    QVERIFY(near(whole.pixmap.toImage().pixel(2, 2), topLeft));
    // A box of 8 x 8 gets that corner alone.
    const Picture corner = LoadPicture(path, {8, 8});
    QCOMPARE(corner.size, upright);
    QCOMPARE(corner.pixmap.size(), QSize(8, 8));
    const QImage shown = corner.pixmap.toImage();
    QVERIFY(near(shown.pixel(0, 0), topLeft) && near(shown.pixel(7, 7), topLeft));
}

void TestPlatform::decomposedNames() {
    QTemporaryDir dir;
    const QString composed = QStringLiteral("\u00f6");
    const QString decomposed = QStringLiteral("o\u0308");
    QDir(dir.path()).mkpath(decomposed);
    TestLibrary::writePicture(dir.path() + QLatin1Char('/') + decomposed +
                              QStringLiteral("/\u00d6l.png"));
    TestLibrary::writePicture(dir.path() + QStringLiteral("/") + decomposed +
                              QStringLiteral(".gif"));

    FileListBox list;
    list.setPath(dir.path() + QLatin1Char('/') + composed);
    QCOMPARE(list.listCount(), int16_t(1));
    // The listed folder is named as on disk, so a path built from it loads.
    QVERIFY(!LoadPicture(list.path() + QLatin1Char('/') + list.list(0)).isNull());
    QVERIFY(
        !LoadPicture(dir.path() + QLatin1Char('/') + composed + QStringLiteral(".gif")).isNull());
    QVERIFY(!LoadPicture(dir.path() + QLatin1Char('/') + composed + QStringLiteral("/\u00d6l.png"))
                 .isNull());
    QVERIFY_ERROR(ErrorNumber::FileNotFound,
                  LoadPicture(dir.path() + QStringLiteral("/\u00e4.gif")));
}

void TestPlatform::pictureBoxDrawsUnscaled() {
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

void TestPlatform::pictureBoxAtScale_data() {
    QTest::addColumn<double>("factor");
    QTest::newRow("0.75") << 0.75;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2.5") << 2.5;
}

void TestPlatform::pictureBoxAtScale() {
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

void TestPlatform::pictureBoxClick() {
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

void TestPlatform::labelIsPlainText() {
    Label label(QStringLiteral("<b>Max</b>"));
    label.resize(300, 40);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.text(), QStringLiteral("<b>Max</b>"));
    QVERIFY(label.wordWrap());
    QCOMPARE(label.alignment(), Qt::AlignLeft | Qt::AlignTop);
}

void TestPlatform::timerSwitch() {
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

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
