// SPDX-License-Identifier: Apache-2.0
#include "platform/filelistbox.h"

#include "platform/picture.h"
#include "platform/runtimeerror.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace platform {

bool isCompanionFile(const QString& name) {
    static const QStringList companions = {
        QStringLiteral(".wav"), QStringLiteral(".mp3"),  QStringLiteral(".m4a"),
        QStringLiteral(".ogg"), QStringLiteral(".opus"), QStringLiteral(".aac"),
        QStringLiteral(".wma"), QStringLiteral(".amr"),  QStringLiteral(".flac"),
        QStringLiteral(".txt")};
    for (const QString& ending : companions) {
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void FileListBox::setPath(const QString& path) {
    const QString onDisk = resolveOnDisk(path);
    const QFileInfo info(onDisk);
    if (!info.isDir())
        throw RuntimeError(ErrorNumber::PathNotFound, path);
    // Only the names are kept and sorted (by name, as QDir::Name sorts): a sorted QDir listing
    // keeps a full file record of every entry while it sorts, which costs more per file the
    // larger the folder.
    QStringList files;
    QDirIterator entries(onDisk, QDir::Files);
    while (entries.hasNext()) {
        entries.next();
        if (!isCompanionFile(entries.fileName()))
            files.append(entries.fileName());
    }
    if (files.size() > INT16_MAX)
        throw RuntimeError(ErrorNumber::Overflow, path);
    std::sort(files.begin(), files.end());
    path_ = onDisk;
    files_ = std::move(files);
}

QString FileListBox::list(int16_t index) const {
    return index >= 0 && index < files_.size() ? files_[index] : QString();
}

} // namespace platform
