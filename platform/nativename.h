// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// File names are bytes on disk. Qt reads them as UTF-8 and can neither list nor open a file whose
// name holds other bytes: a Latin-1 "ä" from a Windows share or an old ZIP archive.

// The name with every byte that is not part of a UTF-8 character written as \xNN: "B\xe4r.png".
QString escapedName(const QByteArray& name);

// The entries of a folder whose names Qt cannot read, escaped and sorted. Every listing of Qt's,
// and so the game's, passes them over.
QStringList undecodableEntries(const QString& folder);

// A folder named by its bytes (the program's own folder, a folder on the command line), made
// usable: its name as Qt reads it, or, where Qt cannot read it, "." once it is the working folder.
// Empty when such a folder cannot be entered.
QString enterFolder(const QByteArray& folder);

// A path as it is on disk, for messages: a relative one with the working folder before it, and
// bytes that are not UTF-8 escaped.
QString pathOnDisk(const QString& path);

} // namespace platform
