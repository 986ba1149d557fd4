#include "platform/picture.h"

#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

namespace {

// The largest picture the game will decode. Nothing in the game is near it; it keeps a
// hand-edited header from asking for gigabytes.
constexpr int MaxPictureSide = 8192;

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

    QImageReader reader(onDisk);
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
