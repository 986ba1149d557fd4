// SPDX-License-Identifier: Apache-2.0
#include "platform/runtimeerror.h"

#include "platform/nativename.h"

#include <QDir>

namespace platform {

QString errorText(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::Overflow:
        return QStringLiteral("Überlauf");
    case ErrorNumber::OutOfMemory:
        return QStringLiteral("Nicht genügend Speicher");
    case ErrorNumber::SubscriptOutOfRange:
        return QStringLiteral("Index außerhalb des gültigen Bereichs");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Typen unverträglich");
    case ErrorNumber::FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case ErrorNumber::PermissionDenied:
        return QStringLiteral("Zugriff verweigert");
    case ErrorNumber::PathNotFound:
        return QStringLiteral("Pfad nicht gefunden");
    case ErrorNumber::InvalidPicture:
        return QStringLiteral("Ungültiges Bild");
    }
    return QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
}

RuntimeError::RuntimeError(ErrorNumber number, QString path)
    : number_(number)
    , path_(std::move(path))
    , what_(message().toStdString()) {}

QString RuntimeError::message() const {
    QString text =
        QStringLiteral("Laufzeitfehler '%1':\n\n%2").arg(int(number_)).arg(errorText(number_));
    if (!path_.isEmpty())
        // As the file manager writes it: the bytes on disk, C:\Spiele\images\a on Windows.
        text += QStringLiteral("\n\n") + QDir::toNativeSeparators(pathOnDisk(path_));
    return text;
}

} // namespace platform
