// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QPixmap>
#include <QString>

namespace platform {

// A loaded picture, together with the file it came from.
struct Picture {
    QPixmap pixmap;
    QString path;

    bool isNull() const { return pixmap.isNull(); }
};

// Reads a picture file. A missing file is FileNotFound, a missing folder on its way PathNotFound;
// a file that exists but cannot be read as a picture (empty, truncated, not a picture,
// unreadable, absurdly large) is InvalidPicture.
Picture LoadPicture(const QString& path);

// Finds a file or folder whose name is stored in another Unicode normalization than the one
// asked for (a library copied from a system that stores "ö" as "o" and a combining diaeresis).
// Returns the path as it is on disk, or the path unchanged when nothing matches.
QString resolveOnDisk(const QString& path);

} // namespace platform
