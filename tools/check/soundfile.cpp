// SPDX-License-Identifier: Apache-2.0
#include "tools/check/soundfile.h"

#include <QFile>
#include <QFileInfo>

namespace lautgarten::check {

namespace {

// A word or a sentence is a few seconds of sound; a file this large is no such recording.
constexpr qint64 MaxSoundBytes = 64 * 1024 * 1024;

} // namespace

SoundFile readSoundFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {QStringLiteral("Das ist keine gewöhnliche Datei.")};
    if (info.size() > MaxSoundBytes)
        return {QStringLiteral("Die Datei ist %1 MB groß, viel zu groß für ein Wort.")
                    .arg(info.size() / (1024 * 1024))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("Die Datei lässt sich nicht lesen (%1).").arg(file.errorString())};
    QByteArray bytes = file.read(MaxSoundBytes);
    return decodeSound(bytes);
}

} // namespace lautgarten::check
