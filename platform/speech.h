// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace platform {

// One piece of what the game says: a sound file of the picture library, then a silence of
// pauseMs before the next piece.
struct SoundPiece {
    QString path;
    int pauseMs = 0;

    bool operator==(const SoundPiece&) const = default;
};

// The audio behind the speech: plays one sound file at a time. Called only on the thread that
// draws the windows.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Plays a file, stopping whatever plays. ended is called once it has played to its end or
    // could not be played; never after stop() or a later play().
    virtual void play(const QString& path, std::function<void()> ended) = 0;
    virtual void stop() = 0;
    // Starts reading a file that may soon be played, so that it then starts at once.
    virtual void prepare(const QString& path) = 0;
};

// The game's speech. It says sound files one after another; a new utterance stops the one
// before, and stop() ends it. Until the audio has loaded, and where there is none, nothing is
// said and nothing waits to be said later. The system sets the volume and the mute.
namespace Speech {

void say(const QList<SoundPiece>& pieces);
void stop();
void prepare(const QString& path);

// Loads the audio in the background once the first window has been painted, so that it never
// delays the start: on Linux the module lautgarten-audio (Qt Multimedia) in the folder audio
// beside the program, on Windows the platform's own PlaySound. Where there is no audio, one line
// on standard error says so and the game stays silent.
void loadAfterFirstPaint(const QString& programFolder);

// The output the speech plays through, replacing any other; tests set one that records.
void setOutput(std::unique_ptr<SoundOutput> output);
// Whether there is an output: the audio has loaded, or a test has set one.
bool hasOutput();

} // namespace Speech

} // namespace platform
