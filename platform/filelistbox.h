// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace platform {

// The hidden file list of a window: lists the files directly in one folder, sorted by name,
// without sub-folders and without hidden files (names starting with a dot). The window never
// shows it; the game reads it right after setting the folder.
class FileListBox {
public:
    // Lists the folder; PathNotFound when it does not exist, Overflow when it holds more files than
    // a count of 16 bits can hold.
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

} // namespace platform
