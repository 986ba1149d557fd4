// SPDX-License-Identifier: Apache-2.0
#include "platform/picture.h"

#include "platform/decodedpicture.h"
#include "platform/runtimeerror.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QResource>
#include <QTransform>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <future>
#include <optional>
#include <utility>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// The largest picture the game will decode. Nothing in the game is near it; it keeps a
// hand-edited header from asking for gigabytes.
constexpr int MaxPictureSide = 8192;
static_assert(MaxPictureBytes == qint64(MaxPictureSide) * MaxPictureSide * 4);
// The eight bytes every PNG file begins with.
constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";

// A PNG chunk may not claim more bytes than the file holds: the decoder would first allocate
// what the chunk claims, gigabytes for a few damaged bytes.
bool chunksFitFile(const QByteArray& bytes) {
    if (!bytes.startsWith(PngSignature))
        return true;
    qint64 at = qint64(sizeof PngSignature) - 1;
    while (at + 8 <= bytes.size()) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
        const qint64 length = qint64(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (at + 12 + length > bytes.size())
            return false;
        if (bytes.mid(at + 4, 4) == "IEND")
            break;
        at += 12 + length;
    }
    return true;
}

quint32 littleEndian(const uchar* p, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// A JPEG ends with the marker EOI after its last scan. The markers are walked one by one, each
// segment skipped by its length, so the EOI of a preview inside the camera's Exif segment is
// passed over with that segment; a scan's data runs to the next marker that is not a restart.
bool jpegComplete(const uchar* p, qint64 n) {
    qint64 at = 2;
    while (true) {
        // Bytes between segments are not allowed, but decoders skip them; so does this walk.
        const void* marker = at < n ? std::memchr(p + at, 0xFF, std::size_t(n - at)) : nullptr;
        if (!marker)
            return false;
        at = static_cast<const uchar*>(marker) - p;
        while (at < n && p[at] == 0xFF)
            ++at;
        if (at >= n)
            return false;
        const uchar code = p[at++];
        if (code == 0xD9) // EOI
            return true;
        if (code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD7))
            continue; // no length of their own
        if (at + 2 > n)
            return false;
        const qint64 length = p[at] << 8 | p[at + 1];
        if (length < 2 || at + length > n)
            return false;
        at += length;
        if (code != 0xDA) // SOS: the scan's data follows its header
            continue;
        while (true) {
            const void* ff = at < n ? std::memchr(p + at, 0xFF, std::size_t(n - at)) : nullptr;
            if (!ff)
                return false;
            at = static_cast<const uchar*>(ff) - p;
            if (at + 1 >= n)
                return false;
            const uchar next = p[at + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
                at += 2; // an escaped 0xFF byte or a restart marker: still the scan
            else
                break;
        }
    }
}

// Where one image of a GIF lies in the file: its size, and its data from the code size on to the
// end of its sub-blocks.
struct GifImage {
    int width = 0;
    int height = 0;
    qint64 data = 0;
    qint64 end = 0;
};

// A GIF is a row of blocks: extensions and images, each image's data in sub-blocks up to one of
// length zero, then the trailer. Its images; none where the file ends inside a block or holds
// something else. A file that ends right after a whole image still shows it whole.
std::optional<QList<GifImage>> gifImages(const uchar* p, qint64 n) {
    if (n < 13)
        return std::nullopt;
    qint64 at = 13;
    if (p[10] & 0x80)
        at += 3 << ((p[10] & 7) + 1);
    const auto subBlocks = [&] {
        while (at < n) {
            const uchar size = p[at++];
            if (size == 0)
                return true;
            at += size;
        }
        return false;
    };
    QList<GifImage> images;
    while (at < n) {
        switch (p[at++]) {
        case 0x3B: // trailer
            return images;
        case 0x21: // extension: its label, then sub-blocks
            ++at;
            if (!subBlocks())
                return std::nullopt;
            break;
        case 0x2C: { // image: descriptor, local colours, code size, sub-blocks
            if (at + 9 > n)
                return std::nullopt;
            GifImage image{int(littleEndian(p + at + 4, 2)), int(littleEndian(p + at + 6, 2))};
            if (p[at + 8] & 0x80)
                at += 3 << ((p[at + 8] & 7) + 1);
            at += 9;
            image.data = at++;
            if (!subBlocks())
                return std::nullopt;
            image.end = at;
            images.append(image);
            break;
        }
        default:
            return std::nullopt;
        }
    }
    if (images.isEmpty() || at != n)
        return std::nullopt;
    return images;
}

// Qt decodes a GIF image whose data breaks off (codes that run out before the last pixel, a code
// it cannot follow) without complaint, and leaves the pixels it never reached as it made them:
// black or see-through. So each image's data is decoded once more, as the only image of a GIF
// of exactly its size whose 256 colours are all opaque white, without transparency or
// interlacing: every pixel Qt decodes there is white, and any other pixel was never reached.
bool gifImagesWhole(const QByteArray& bytes, const QList<GifImage>& images) {
    for (const GifImage& image : images) {
        if (image.width == 0 || image.height == 0)
            continue;
        if (image.width > MaxPictureSide || image.height > MaxPictureSide)
            return false;
        QByteArray alone = QByteArrayLiteral("GIF89a");
        const auto appendSize = [&alone, &image] {
            for (const int side : {image.width, image.height})
                alone.append(char(side & 0xFF)).append(char(side >> 8));
        };
        appendSize();
        alone += QByteArray::fromHex("f70000"); // 256 colours, background 0
        alone += QByteArray(256 * 3, char(0xFF));
        alone += QByteArray::fromHex("2c00000000"); // the image at the top-left corner
        appendSize();
        alone += char(0); // no colours of its own, not interlaced
        alone += bytes.mid(image.data, image.end - image.data);
        alone += char(0x3B);
        QBuffer buffer(&alone);
        QImageReader reader(&buffer, "gif");
        reader.setAutoDetectImageFormat(false);
        QImage decoded;
        if (!reader.read(&decoded) || decoded.size() != QSize(image.width, image.height))
            return false;
        decoded.convertTo(QImage::Format_RGB32);
        for (int y = 0; y < decoded.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
            for (int x = 0; x < decoded.width(); ++x) {
                if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                    return false;
            }
        }
    }
    return true;
}

// A BMP holds its pixel rows after the offset its header names: uncompressed rows, padded to four
// bytes, or as many compressed bytes as the header counts.
bool bmpComplete(const uchar* p, qint64 n) {
    if (n < 26)
        return false;
    const double offset = littleEndian(p + 10, 4);
    const quint32 header = littleEndian(p + 14, 4);
    double width, height, bits, compression = 0, packed = 0;
    if (header == 12) {
        width = littleEndian(p + 18, 2);
        height = littleEndian(p + 20, 2);
        bits = littleEndian(p + 24, 2);
    } else {
        if (n < 54)
            return false;
        width = qint32(littleEndian(p + 18, 4));
        height = std::abs(double(qint32(littleEndian(p + 22, 4))));
        bits = littleEndian(p + 28, 2);
        compression = littleEndian(p + 30, 4);
        packed = littleEndian(p + 34, 4);
    }
    const bool rows = compression == 0 || compression == 3 || compression == 6;
    const double pixels = rows ? std::floor((width * bits + 31) / 32) * 4 * height : packed;
    return offset + pixels <= double(n);
}

// Whether a picture file holds all the data its own structure announces. Qt decodes a JPEG, GIF
// or BMP cut short (an interrupted copy or download) without complaint and fills the rest grey;
// a GIF must also decode to the last pixel of every image.
bool dataComplete(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 n = bytes.size();
    if (bytes.startsWith("\xff\xd8"))
        return jpegComplete(p, n);
    if (bytes.startsWith("GIF8")) {
        const std::optional<QList<GifImage>> images = gifImages(p, n);
        return images && gifImagesWhole(bytes, *images);
    }
    if (bytes.startsWith("BM"))
        return bmpComplete(p, n);
    return true;
}

// The decoder for the kinds of picture a library holds, known by their first bytes. Named, Qt
// takes it at once; left to guess, it loads every image plugin it has and asks each one.
QByteArray knownFormat(const QByteArray& bytes) {
    if (bytes.startsWith(PngSignature))
        return QByteArrayLiteral("png");
    if (bytes.startsWith("\xff\xd8"))
        return QByteArrayLiteral("jpeg");
    if (bytes.startsWith("GIF8"))
        return QByteArrayLiteral("gif");
    if (bytes.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    return {};
}

// The part of a stored picture that becomes the rectangle upright once turned as its orientation
// tag says. Qt turns a picture by mirroring and flipping it first, then a quarter turn clockwise.
QRect storedRect(const QRect& upright, QSize stored, QImageIOHandler::Transformations turn) {
    const qreal w = stored.width(), h = stored.height();
    QTransform toUpright;
    if (turn & QImageIOHandler::TransformationMirror)
        toUpright *= QTransform(-1, 0, 0, 1, w, 0);
    if (turn & QImageIOHandler::TransformationFlip)
        toUpright *= QTransform(1, 0, 0, -1, 0, h);
    if (turn & QImageIOHandler::TransformationRotate90)
        toUpright *= QTransform(0, 1, -1, 0, h, 0);
    return toUpright.inverted().mapRect(QRectF(upright)).toAlignedRect() & QRect({0, 0}, stored);
}

// The entry of folder dir whose name is piece in any Unicode normalization, or an empty string.
QString matchNormalized(const QString& dir, const QString& piece) {
    const QString wanted = piece.normalized(QString::NormalizationForm_C);
    const QStringList entries =
        QDir(dir.isEmpty() ? QStringLiteral(".") : dir)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.normalized(QString::NormalizationForm_C) == wanted)
            return entry;
    }
    return {};
}

// "pictures/banner.png" -> "pictures/banner.pixels": the name a picture's pixels travel under.
QString decodedName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot > name.lastIndexOf(QLatin1Char('/')) ? name.left(dot) : name) +
           QStringLiteral(".pixels");
}

} // namespace

QString resolveOnDisk(const QString& path) {
    if (QFileInfo::exists(path))
        return path;
    QString found; // the leading part of the path as it is on disk
    const QStringList pieces = path.split(QLatin1Char('/'));
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            found += QLatin1Char('/');
        QString piece = pieces[i];
        if (piece.isEmpty())
            continue;
        if (!QFileInfo::exists(found + piece))
            piece = matchNormalized(found, piece);
        if (piece.isEmpty())
            return path;
        found += piece;
    }
    return found;
}

namespace {

#ifdef Q_OS_WIN
int openForReading(const QString& path) {
    return _wopen(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                  _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

void closeFile(int fd) {
    _close(fd);
}
#else
// Opened without waiting: a pipe would hold the game until something wrote to it.
int openForReading(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

void closeFile(int fd) {
    ::close(fd);
}
#endif

struct FileKind {
    bool folder = false;
    bool regular = false;
    qint64 size = 0;
};

FileKind kindOf(int fd) {
#ifdef Q_OS_WIN
    struct _stat64 info;
    if (_fstat64(fd, &info) != 0)
        return {};
    return {(info.st_mode & _S_IFMT) == _S_IFDIR, (info.st_mode & _S_IFMT) == _S_IFREG,
            qint64(info.st_size)};
#else
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return {};
    return {S_ISDIR(info.st_mode), S_ISREG(info.st_mode), qint64(info.st_size)};
#endif
}

// A picture file, opened where it is looked for and read where it is decoded; closed with its
// last owner.
class OpenFile {
public:
    explicit OpenFile(int fd)
        : fd_(fd) {}
    OpenFile(OpenFile&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)) {}
    OpenFile& operator=(OpenFile&&) = delete;
    ~OpenFile() {
        if (fd_ >= 0)
            closeFile(fd_);
    }
    int fd() const { return fd_; }
    void release() { fd_ = -1; }

private:
    int fd_;
};

// A picture file opened for reading, or one built into the program.
struct PictureFile {
    OpenFile file;
    QString resource;
};

// The file a picture path names, opened for reading. The errors of a file that is not there or
// may not be read; a pipe, a device or anything else that is not a file of its own bytes, and a
// file larger than any picture, are refused before a byte is read.
PictureFile pictureFile(const QString& path) {
    // The windows' own pictures, built into the program.
    if (path.startsWith(QLatin1String(":/"))) {
        if (!QFileInfo(path).isFile())
            throw RuntimeError(ErrorNumber::FileNotFound, path);
        return {OpenFile(-1), path};
    }
    const QString onDisk = resolveOnDisk(path);
    const int fd = openForReading(onDisk);
    if (fd < 0) {
        const int cause = errno;
        const QFileInfo info(onDisk);
        if (info.isDir()) // Windows opens no folder
            throw RuntimeError(ErrorNumber::FileNotFound, path);
        if (cause == EACCES || cause == EPERM)
            throw RuntimeError(ErrorNumber::PermissionDenied, path);
        if (!info.exists() && !info.dir().exists())
            throw RuntimeError(ErrorNumber::PathNotFound, path);
        throw RuntimeError(info.exists() ? ErrorNumber::InvalidPicture : ErrorNumber::FileNotFound,
                           path);
    }
    OpenFile file(fd);
    const FileKind kind = kindOf(fd);
    if (kind.folder)
        throw RuntimeError(ErrorNumber::FileNotFound, path);
    if (!kind.regular || kind.size > MaxPictureBytes)
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    return {std::move(file), {}};
}

// The file's bytes, but never more than one beyond the largest picture file, whatever size the
// file claims: a file of the system's may claim none and go on without end.
QByteArray readBounded(QFile& file) {
    QByteArray bytes;
    // First the bytes the file claims and one more, then in growing steps beyond its claim.
    qint64 step = std::clamp(file.size() + 1, qint64(1), MaxPictureBytes + 1);
    qint64 beyond = 64 * 1024;
    while (bytes.size() <= MaxPictureBytes) {
        const qint64 at = bytes.size();
        const qint64 wanted = std::min(step, MaxPictureBytes + 1 - at);
        bytes.resize(at + wanted);
        const qint64 got = file.read(bytes.data() + at, wanted);
        bytes.resize(at + std::max(got, qint64(0)));
        if (got <= 0)
            break;
        step = beyond;
        beyond = std::min(beyond * 2, MaxPictureBytes + 1);
    }
    return bytes;
}

// Decodes a picture file; a file that is no picture is InvalidPicture. Touches nothing but the
// file, so it may run on any thread.
DecodedFile decodeFile(PictureFile opened, const QString& path, QSize shown) try {
    QFile file(opened.resource);
    const bool open = opened.resource.isEmpty()
                          ? file.open(opened.file.fd(), QIODevice::ReadOnly | QIODevice::Unbuffered,
                                      QFileDevice::AutoCloseHandle)
                          : file.open(QIODevice::ReadOnly);
    if (!open)
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    if (opened.resource.isEmpty())
        opened.file.release();
    QByteArray bytes = readBounded(file);
    if (bytes.size() > MaxPictureBytes || !chunksFitFile(bytes) || !dataComplete(bytes))
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    QBuffer buffer(&bytes);
    const QByteArray format = knownFormat(bytes);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
    reader.setDecideFormatFromContent(format.isEmpty());
    // A phone stores a portrait photo lying on its side, with a tag that says how to turn it.
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.width() > MaxPictureSide || stored.height() > MaxPictureSide)
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    const QImageIOHandler::Transformations turn = reader.transformation();
    const QSize upright =
        turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    // A box shows only the top-left part of a picture: a photo of many megapixels is decoded
    // only that far, in a fraction of the time and memory.
    if (shown.isValid() && stored.isValid() &&
        (upright.width() > shown.width() || upright.height() > shown.height()))
        reader.setClipRect(storedRect(QRect({0, 0}, shown.boundedTo(upright)), stored, turn));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    // Premultiplied, as a pixmap holds it: converted here, not on the thread that draws.
    if (image.hasAlphaChannel())
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QSize size = upright.isValid() ? upright : image.size();
    return {std::move(image), size};
} catch (const std::bad_alloc&) {
    // A file within the bounds can still ask for more memory than there is; the error names it.
    throw RuntimeError(ErrorNumber::OutOfMemory, path);
}

Picture shown(DecodedFile decoded, const QString& path) {
    return Picture{QPixmap::fromImage(std::move(decoded.image)), path, decoded.size};
}

} // namespace

Picture LoadPicture(const QString& path, QSize shown) {
    // The windows' own pictures (":/pictures/banner.png") travel inside the program decoded too,
    // as ":/decoded/pictures/banner.pixels"; where the build made them, they need no decoding.
    if (path.startsWith(QLatin1String(":/"))) {
        const QResource decoded(QStringLiteral(":/decoded/") + decodedName(path.mid(2)));
        if (decoded.isValid() && decoded.compressionAlgorithm() == QResource::NoCompression) {
            const QImage image = DecodedPicture::decode(decoded.data(), decoded.size());
            // Stored in the form it is drawn in: converting it would only cost a copy.
            if (!image.isNull())
                return Picture{QPixmap::fromImage(image, Qt::NoFormatConversion), path,
                               image.size()};
        }
    }
    return platform::shown(decodeFile(pictureFile(path), path, shown), path);
}

PendingPicture::PendingPicture(const QString& path, QSize shown)
    : path_(path) {
    decoding_ = std::async(std::launch::async, [opened = pictureFile(path), path, shown]() mutable {
        return decodeFile(std::move(opened), path, shown);
    });
}

PendingPicture::~PendingPicture() = default;
PendingPicture::PendingPicture(PendingPicture&&) noexcept = default;
PendingPicture& PendingPicture::operator=(PendingPicture&&) noexcept = default;

Picture PendingPicture::take() {
    return platform::shown(decoding_.get(), path_);
}

} // namespace platform
