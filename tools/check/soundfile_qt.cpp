// SPDX-License-Identifier: Apache-2.0
// Sound files read as the game reads them on Linux: QSoundEffect takes them through Qt
// Multimedia's QWaveDecoder.

#include "tools/check/soundfile.h"

#include <QAudioFormat>
#include <QFile>
#include <QFileInfo>
#include <QWaveDecoder>

namespace lautgarten::check {

namespace {

// A word or a sentence is a few seconds of sound; a file this large is no such recording.
constexpr qint64 MaxSoundBytes = 64 * 1024 * 1024;

struct Opened {
    QString problem;
    int lengthMs = 0;
};

Opened open(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {QStringLiteral("Das ist keine gewöhnliche Datei.")};
    if (info.size() > MaxSoundBytes)
        return {QStringLiteral("Die Datei ist %1 MB groß, viel zu groß für ein Wort.")
                    .arg(info.size() / (1024 * 1024))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("Die Datei lässt sich nicht lesen (%1).").arg(file.errorString())};
    QWaveDecoder decoder(&file);
    if (!decoder.open(QIODevice::ReadOnly) || !decoder.audioFormat().isValid())
        return {QStringLiteral("Das ist keine WAV-Datei, die das Spiel abspielen kann.")};
    if (decoder.size() <= 0)
        return {QStringLiteral("Die WAV-Datei enthält keinen Ton.")};
    return {{}, decoder.duration()};
}

} // namespace

QString soundFileProblem(const QString& path) {
    return open(path).problem;
}

int soundFileLength(const QString& path) {
    return open(path).lengthMs;
}

} // namespace lautgarten::check
