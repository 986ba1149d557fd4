// SPDX-License-Identifier: Apache-2.0
// Picture loading: what loads, what each kind of bad file gives, photos turned upright, the
// windows' own pictures decoded at build time, and names stored in another normalization.
#include "platform/decodedpicture.h"
#include "platform/filelistbox.h"
#include "platform/picture.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDirIterator>
#include <QPainter>
#include <QResource>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

using namespace platform;
using testsupport::TestLibrary;

class TestPicture : public QObject {
    Q_OBJECT

private slots:
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
};

void TestPicture::loadPicture_data() {
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

void TestPicture::loadPicture() {
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/bild.gif");
    TestLibrary::writeBytes(path, content);
    // Whole, and for a box, which decodes only the part the box shows; and read on another
    // thread, as a page reads its pictures.
    for (const QSize box : {QSize(), QSize(1000, 1000)}) {
        if (error == 0) {
            const Picture picture = LoadPicture(path, box);
            QVERIFY(!picture.isNull());
            QCOMPARE(picture.path, path);
            const Picture pending = PendingPicture(path, box).take();
            QCOMPARE(pending.pixmap.toImage(), picture.pixmap.toImage());
        } else {
            QVERIFY_ERROR_ON(ErrorNumber(error), path, LoadPicture(path, box));
            QVERIFY_ERROR_ON(ErrorNumber(error), path, PendingPicture(path, box).take());
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

void TestPicture::decodedPictures() {
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

// Stored 64 x 32 in four coloured quarters; each row names the colour that ends up top left.
void TestPicture::photoUpright_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("upright");
    QTest::addColumn<QColor>("topLeft");
    QTest::newRow("as stored") << 1 << QSize(64, 32) << QColor(Qt::red);
    QTest::newRow("portrait from a phone") << 6 << QSize(32, 64) << QColor(Qt::blue);
    QTest::newRow("portrait, turned the other way") << 8 << QSize(32, 64) << QColor(Qt::green);
    QTest::newRow("upside down") << 3 << QSize(64, 32) << QColor(Qt::yellow);
}

void TestPicture::photoUpright() {
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

void TestPicture::decomposedNames() {
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

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
