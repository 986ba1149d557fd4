// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

namespace lautgarten::check {

// What the game would make of a sound file: empty where it plays it, else why it cannot (in
// German, for whoever looks after the library). The platform's own reader decides, as in the
// game: Qt Multimedia's WAV reader on Linux, Windows' own on Windows.
QString soundFileProblem(const QString& path);

// How long a playable sound file lasts, in milliseconds; 0 where that is not known.
int soundFileLength(const QString& path);

} // namespace lautgarten::check
