// SPDX-License-Identifier: Apache-2.0
#include "platform/filelistbox.h"

#include "platform/picture.h"
#include "platform/runtimeerror.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#endif

namespace platform {

bool isCompanionFile(const QString& name) {
    static const QStringList companions = {QStringLiteral(".wav"),  QStringLiteral(".mp3"),
                                           QStringLiteral(".m4a"),  QStringLiteral(".ogg"),
                                           QStringLiteral(".opus"), QStringLiteral(".aac"),
                                           QStringLiteral(".wma"),  QStringLiteral(".amr"),
                                           QStringLiteral(".flac"), QStringLiteral(".txt")};
    for (const QString& ending : companions) {
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

Leftover leftoverOf(const QString& name) {
    const auto is = [&name](const char* leftover) {
        return name.compare(QLatin1String(leftover), Qt::CaseInsensitive) == 0;
    };
    if (is("Thumbs.db") || is("desktop.ini"))
        return Leftover::Windows;
    if (is(".DS_Store") || is("__MACOSX") || name.startsWith(QLatin1String("._")))
        return Leftover::MacOS;
    return Leftover::None;
}

bool hiddenBySystem([[maybe_unused]] const QString& path) {
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    return false;
#endif
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
        const QString name = entries.fileName();
        if (!isCompanionFile(name) && leftoverOf(name) == Leftover::None &&
            !hiddenBySystem(entries.filePath()))
            files.append(entries.fileName());
    }
#ifndef Q_OS_WIN
    // A folder that may not be read lists as empty; the error must say why. Asked only then: a
    // page lists three folders.
    if (files.isEmpty()) {
        if (DIR* dir = opendir(QFile::encodeName(onDisk).constData()))
            closedir(dir);
        else if (errno == EACCES)
            throw RuntimeError(ErrorNumber::PermissionDenied, path);
    }
#endif
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
