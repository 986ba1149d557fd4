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
#include <QRandomGenerator>
#include <QResource>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/stat.h>

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
    // Only a file of its own bytes is opened, never waiting and never read beyond the largest
    // picture file: a pipe, a device, a file that claims no size and goes on, or one larger than
    // any picture is InvalidPicture. A file or folder that may not be read is PermissionDenied.
    void pictureFiles_data();
    void pictureFiles();
    // A GIF whose image data does not decode to the last pixel of every image is no picture.
    void gifData_data();
    void gifData();
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

void TestPicture::pictureFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ErrorNumber>("error");
    QTest::newRow("pipe") << "pipe" << ErrorNumber::InvalidPicture;
    QTest::newRow("link to a device") << "device" << ErrorNumber::InvalidPicture;
    QTest::newRow("file that claims no size and goes on")
        << "endless" << ErrorNumber::InvalidPicture;
    QTest::newRow("file larger than any picture") << "large" << ErrorNumber::InvalidPicture;
    QTest::newRow("picture nobody may read") << "unreadable" << ErrorNumber::PermissionDenied;
    QTest::newRow("folder nobody may search") << "unsearchable" << ErrorNumber::PermissionDenied;
}

void TestPicture::pictureFiles() {
    QFETCH(QString, kind);
    QFETCH(ErrorNumber, error);
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/bild.png");
    if (kind == QLatin1String("pipe")) {
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    } else if (kind == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == QLatin1String("endless")) {
        // The kernel's page map of the reading process: it claims no bytes and gives gigabytes.
        QFile pageMap(QStringLiteral("/proc/self/pagemap"));
        if (!pageMap.open(QIODevice::ReadOnly) || pageMap.size() != 0 ||
            pageMap.read(8).size() != 8)
            QSKIP("no page map to read here");
        QVERIFY(QFile::link(pageMap.fileName(), path));
    } else if (kind == QLatin1String("large")) {
        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(qint64(8192) * 8192 * 4 + 1));
    } else {
        TestLibrary::writePicture(path);
    }
    if (kind == QLatin1String("unreadable"))
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    if (kind == QLatin1String("unsearchable")) {
        const QString folder = dir.path() + QStringLiteral("/a");
        QVERIFY(QDir().mkdir(folder) && QFile::rename(path, folder + QStringLiteral("/bild.png")));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner));
        path = folder + QStringLiteral("/bild.png");
    }
    const testsupport::PermissionsApply permissions;
    if (error == ErrorNumber::PermissionDenied && !permissions.active())
        QSKIP(qPrintable(permissions.why()));
    QVERIFY_ERROR_ON(error, path, LoadPicture(path, QSize(265, 337)));
    QVERIFY_ERROR_ON(error, path, PendingPicture(path, QSize(265, 337)).take());
}

namespace {

// A GIF of one image as the rows below rebuild it: everything up to its image data, the data
// itself (after the code size, without the sub-blocks' lengths), and the trailer.
struct GifParts {
    QByteArray head;
    QByteArray data;
    QSize size;
};

GifParts gifParts(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QByteArray gif = file.readAll();
    const auto byte = [&gif](qsizetype at) { return uchar(gif[at]); };
    qsizetype at = 13 + (byte(10) & 0x80 ? 3 << ((byte(10) & 7) + 1) : 0);
    while (byte(at) == 0x21) { // extensions
        at += 2;
        while (byte(at) != 0)
            at += byte(at) + 1;
        ++at;
    }
    if (byte(at) != 0x2C || (byte(at + 9) & 0x80))
        qFatal("%s: not one image with the global colours", qPrintable(path));
    GifParts parts;
    parts.size = QSize(byte(at + 5) | byte(at + 6) << 8, byte(at + 7) | byte(at + 8) << 8);
    at += 10;
    parts.head = gif.left(at);
    for (++at; byte(at) != 0; at += byte(at) + 1)
        parts.data += gif.mid(at + 1, byte(at));
    return parts;
}

// Image data as a GIF stores it: the code size, then sub-blocks of at most 255 bytes.
QByteArray imageData(int codeSize, const QByteArray& data) {
    QByteArray blocks(1, char(codeSize));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        blocks += char(block.size()) + block;
    }
    return blocks + '\0';
}

// Codes of nine bits, for a code size of 8 (clear 256, end 257), packed as a GIF packs them.
QByteArray packed(const QList<int>& codes) {
    QByteArray bytes;
    quint32 bits = 0;
    int count = 0;
    for (const int code : codes) {
        bits |= quint32(code) << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8)
            bytes += char(bits & 0xFF);
    }
    return count > 0 ? bytes + char(bits & 0xFF) : bytes;
}

// The GIF of head and image data, with a comment before the image long enough that its last 2000
// bytes or more come in the last 4096 that Qt reads.
QByteArray inLastRead(const QByteArray& head, const QByteArray& data) {
    const qsizetype descriptor = head.size() - 10;
    for (int length = 0;; length += 100) {
        QByteArray comment("\x21\xfe", 2);
        for (int left = length; left > 0; left -= 255)
            comment += char(std::min(left, 255)) + QByteArray(std::min(left, 255), 'x');
        const QByteArray gif = head.left(descriptor) + comment + '\0' + head.mid(descriptor) +
                               data + QByteArray(1, 0x3B);
        if (gif.size() % 4096 >= 2000)
            return gif;
    }
}

// Pixels one code each, with a clear code often enough that the codes stay nine bits long.
void appendPixels(QList<int>& codes, int pixels) {
    for (int i = 0; i < pixels; ++i) {
        if (i % 200 == 0)
            codes << 256;
        codes << (i * 7) % 200;
    }
}

} // namespace

// Each row rebuilds a.gif (no transparency) and lachi.gif (with) with other image data; Qt shows
// the broken ones without complaint, the undecoded pixels black or see-through.
void TestPicture::gifData_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("gif");
    QTest::addColumn<bool>("loads");
    for (const char* name : {"buchstaben/a.gif", "special/lachi.gif"}) {
        const QString source = QStringLiteral(LAUTGARTEN_SOURCE_DIR "/images/") + name;
        const GifParts gif = gifParts(source);
        const int pixels = gif.size.width() * gif.size.height();
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(name, what)));
        };
        const auto with = [&gif](const QByteArray& data) {
            return gif.head + data + QByteArray(1, 0x3B);
        };
        QList<int> whole;
        appendPixels(whole, pixels);
        whole << 257;
        row("every pixel one code") << source << with(imageData(8, packed(whole))) << true;
        QByteArray interlaced = with(imageData(8, packed(whole)));
        interlaced[gif.head.size() - 1] = char(0x40);
        row("interlaced") << source << interlaced << true;
        for (const int codeSize : {0, 1, 11, 12})
            row(qPrintable(QStringLiteral("code size %1").arg(codeSize)))
                << source << with(imageData(codeSize, gif.data)) << false;
        // Qt reads a GIF 4096 bytes at a time and gives up without a picture where its data
        // breaks off before the last of them; a break shortly before the end, in the last
        // 4096 bytes, is shown with the pixels after it black or see-through.
        const auto brokenNearEnd = [&](const QList<int>& broken) {
            QList<int> codes;
            appendPixels(codes, pixels - 400);
            codes << broken;
            appendPixels(codes, 100);
            return inLastRead(gif.head, imageData(8, packed(codes << 257)));
        };
        // After a clear: two pixels, a code far beyond the table, then a code built on it.
        row("a code not yet defined") << source << brokenNearEnd({256, 1, 2, 500, 3, 260}) << false;
        // After a clear the first code must be a pixel; 258 is the table's first entry.
        row("a table entry first after a clear")
            << source << brokenNearEnd({256, 258, 4, 258}) << false;
        QByteArray noise(1000, Qt::Uninitialized);
        QRandomGenerator random(481);
        for (char& byte : noise)
            byte = char(random.bounded(256));
        row("random codes") << source << with(imageData(8, noise)) << false;
        QList<int> half;
        appendPixels(half, pixels / 2);
        row("the end code after half the pixels")
            << source << with(imageData(8, packed(half << 257))) << false;
        row("data cut after half its codes")
            << source << with(imageData(8, gif.data.left(gif.data.size() / 2))) << false;
        interlaced = with(imageData(8, packed(half)));
        interlaced[gif.head.size() - 1] = char(0x40);
        row("interlaced, half the pixels") << source << interlaced << false;
        // An animation is checked to its last image.
        QByteArray second = gif.head.mid(gif.head.lastIndexOf('\x2c'));
        row("second image with half the pixels")
            << source
            << with(imageData(8, gif.data) + second +
                    imageData(8, gif.data.left(gif.data.size() / 2)))
            << false;
    }
}

void TestPicture::gifData() {
    QFETCH(QString, source);
    QFETCH(QByteArray, gif);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/bild.gif");
    TestLibrary::writeBytes(path, gif);
    if (loads)
        QCOMPARE(LoadPicture(path).size, QImage(source).size());
    else
        QVERIFY_ERROR_ON(ErrorNumber::InvalidPicture, path, LoadPicture(path));
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
