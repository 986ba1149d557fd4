// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <future>

namespace platform {

// The largest picture file: the largest picture the game decodes (8192 x 8192) stored
// uncompressed, four bytes a pixel (256 MB). A larger file is no picture and is never read.
inline constexpr qint64 MaxPictureBytes = qint64(8192) * 8192 * 4;

// A loaded picture, together with the file it came from. The pixmap may hold only the part of
// the picture that its box shows; size is the whole picture's, upright.
struct Picture {
    QPixmap pixmap;
    QString path;
    QSize size{};

    bool isNull() const { return pixmap.isNull(); }
};

// Reads a picture file. A missing file is FileNotFound, a missing folder on its way PathNotFound,
// a file or folder on its way that may not be read PermissionDenied; a file that exists but cannot
// be read as a picture (empty, truncated, not a picture, a pipe or a device, absurdly large) is
// InvalidPicture. A photo is turned upright as its orientation tag says. With shown, only the
// top-left part of that size is decoded, all a box of that size shows.
Picture LoadPicture(const QString& path, QSize shown = {});

// A picture decoded from its file, in the form it is drawn in, before it becomes a pixmap.
struct DecodedFile {
    QImage image;
    QSize size; // the whole picture's, upright
};

// A picture read on another thread while the caller goes on: the file is looked for at once, so a
// missing file or folder is reported here; its pixels are decoded meanwhile, and take() waits for
// them, giving the same picture or throwing the same error as LoadPicture. Only library files;
// take() once, on the thread that draws.
class PendingPicture {
public:
    PendingPicture(const QString& path, QSize shown);
    ~PendingPicture();
    PendingPicture(PendingPicture&&) noexcept;
    PendingPicture& operator=(PendingPicture&&) noexcept;

    Picture take();

private:
    QString path_;
    std::future<DecodedFile> decoding_;
};

// Finds a file or folder whose name is stored in another Unicode normalization than the one
// asked for (a library copied from a system that stores "ö" as "o" and a combining diaeresis).
// Returns the path as it is on disk, or the path unchanged when nothing matches.
QString resolveOnDisk(const QString& path);

} // namespace platform
