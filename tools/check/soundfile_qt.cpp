// SPDX-License-Identifier: Apache-2.0
// Sound files read as the game reads them on Linux: QSoundEffect takes them through Qt
// Multimedia's QWaveDecoder.

#include "tools/check/soundfile.h"

#include <QAudioFormat>
#include <QBuffer>
#include <QWaveDecoder>

namespace lautgarten::check {

SoundFile decodeSound(QByteArray& bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    QWaveDecoder decoder(&file);
    if (!decoder.open(QIODevice::ReadOnly) || !decoder.audioFormat().isValid())
        return {QStringLiteral("Das ist keine WAV-Datei, die das Spiel abspielen kann.")};
    if (decoder.size() <= 0)
        return {QStringLiteral("Die WAV-Datei enthält keinen Ton.")};
    return {{}, int(decoder.duration())};
}

} // namespace lautgarten::check
