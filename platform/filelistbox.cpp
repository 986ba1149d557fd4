#include "platform/filelistbox.h"

#include "platform/picture.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

void FileListBox::setPath(const QString& path) {
    const QString onDisk = resolveOnDisk(path);
    const QFileInfo info(onDisk);
    if (!info.isDir())
        throw RuntimeError(ErrorNumber::PathNotFound, path);
    QStringList files = QDir(onDisk).entryList(QDir::Files, QDir::Name);
    if (files.size() > INT16_MAX)
        throw RuntimeError(ErrorNumber::Overflow, path);
    path_ = onDisk;
    files_ = std::move(files);
}

QString FileListBox::list(int16_t index) const {
    return index >= 0 && index < files_.size() ? files_[index] : QString();
}

} // namespace platform
