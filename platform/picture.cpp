// SPDX-License-Identifier: Apache-2.0
#include "platform/picture.h"

#include "platform/runtimeerror.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

namespace {

// The largest picture the game will decode. Nothing in the game is near it; it keeps a
// hand-edited header from asking for gigabytes.
constexpr int MaxPictureSide = 8192;
// The largest picture file; a photo straight from a camera is well below it.
constexpr qint64 MaxPictureBytes = 64 * 1024 * 1024;

// A PNG chunk may not claim more bytes than the file holds: the decoder would first allocate
// what the chunk claims, gigabytes for a few damaged bytes.
bool chunksFitFile(const QByteArray& bytes) {
    static const QByteArray signature = QByteArray::fromHex("89504e470d0a1a0a");
    if (!bytes.startsWith(signature))
        return true;
    qint64 at = signature.size();
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

Picture LoadPicture(const QString& path) {
    const QString onDisk = resolveOnDisk(path);
    const QFileInfo info(onDisk);
    if (!info.exists() && !info.dir().exists())
        throw RuntimeError(ErrorNumber::PathNotFound, path);
    if (!info.exists() || info.isDir())
        throw RuntimeError(ErrorNumber::FileNotFound, path);

    QFile file(onDisk);
    if (file.size() > MaxPictureBytes || !file.open(QIODevice::ReadOnly))
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    QByteArray bytes = file.readAll();
    if (!chunksFitFile(bytes))
        throw RuntimeError(ErrorNumber::InvalidPicture, path);

    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw RuntimeError(ErrorNumber::InvalidPicture, path);
    return Picture{QPixmap::fromImage(std::move(image)), path};
}

} // namespace platform
