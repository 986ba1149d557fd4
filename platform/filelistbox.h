// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace platform {

// The hidden file list of a window: lists the files directly in one folder, sorted by name,
// without sub-folders, hidden files (names starting with a dot; on Windows, files marked hidden
// or system), what other systems leave behind (leftoverOf) and the files that lie beside a
// picture to voice or name it (isCompanionFile). The window never shows it; the game reads it
// right after setting the folder.
class FileListBox {
public:
    // Lists the folder; PathNotFound when it does not exist, PermissionDenied when it may not be
    // read, Overflow when it holds more files than a count of 16 bits can hold.
    void setPath(const QString& path);
    // The folder being listed, as it is named on disk.
    QString path() const { return path_; }
    int16_t listCount() const { return int16_t(files_.size()); }
    // The name of the file at 0-based position index, or an empty string outside the list.
    QString list(int16_t index) const;

private:
    QString path_;
    QStringList files_;
};

// Files and folders that Windows and macOS write beside pictures by themselves: Windows'
// thumbnails and folder settings (Thumbs.db, desktop.ini), the Finder's folder settings
// (.DS_Store), the "._" file macOS writes beside every file it copies to a stick or a ZIP archive,
// and the ZIP archive's __MACOSX folder. Whatever their case, they are never drawn.
enum class Leftover { None, Windows, MacOS };
Leftover leftoverOf(const QString& name);

// A file that belongs beside a picture, never drawn as one: a sound (the picture's word; WAV,
// or a recording not yet made into one, such as MP3 or M4A) or a text (its other names).
bool isCompanionFile(const QString& name);

// Whether Windows marks a file hidden or system, as it marks its own; never elsewhere.
bool hiddenBySystem(const QString& path);

} // namespace platform
