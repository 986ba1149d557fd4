// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QPixmap>
#include <QString>

namespace platform {

// A loaded picture, together with the file it came from. The pixmap may hold only the part of
// the picture that its box shows; size is the whole picture's, upright.
struct Picture {
    QPixmap pixmap;
    QString path;
    QSize size{};

    bool isNull() const { return pixmap.isNull(); }
};

// Reads a picture file. A missing file is FileNotFound, a missing folder on its way PathNotFound;
// a file that exists but cannot be read as a picture (empty, truncated, not a picture,
// unreadable, absurdly large) is InvalidPicture. A photo is turned upright as its orientation tag
// says. With shown, only the top-left part of that size is decoded, all a box of that size shows.
Picture LoadPicture(const QString& path, QSize shown = {});

// Finds a file or folder whose name is stored in another Unicode normalization than the one
// asked for (a library copied from a system that stores "ö" as "o" and a combining diaeresis).
// Returns the path as it is on disk, or the path unchanged when nothing matches.
QString resolveOnDisk(const QString& path);

} // namespace platform
