// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

namespace lautgarten::check {

// What the game would make of a sound file: no problem where it plays it, else why it cannot (in
// German, for whoever looks after the library); and how long it lasts, 0 where that is not known.
struct SoundFile {
    QString problem;
    int lengthMs = 0;
};

// Reads a sound file with the platform's own reader, as in the game: Qt Multimedia's WAV reader
// on Linux, Windows' own on Windows.
SoundFile readSoundFile(const QString& path);

// The platform's reader over a file's bytes (soundfile_qt.cpp, soundfile_windows.cpp).
SoundFile decodeSound(QByteArray& bytes);

} // namespace lautgarten::check
