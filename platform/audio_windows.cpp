// SPDX-License-Identifier: Apache-2.0
// The audio of the speech on Windows: the platform's own PlaySound, which reads the WAV itself.
// It is handed the file's bytes, not its name: given a name, Windows opens it through an old
// interface that takes only names of the ANSI code page and of at most 128 characters. It plays
// one sound at a time and stops the one before, as the speech wants; a thread of its own waits
// for each to end, so that the windows never wait for it.

#include "platform/speech.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <windows.h>
// After windows.h, whose types they use.
#include <mmsystem.h>

namespace platform {

namespace {

// A word or a sentence is a few seconds of sound; a file larger than this is none.
constexpr qint64 MaxSoundBytes = 64 * 1024 * 1024;

// The bytes of a sound file, where it is a plain file of a sensible size.
QByteArray soundOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxSoundBytes)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(MaxSoundBytes) : QByteArray();
}

class WindowsSoundOutput : public SoundOutput {
public:
    WindowsSoundOutput()
        : thread_([this] { run(); }) {}

    ~WindowsSoundOutput() override {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
            wanted_.clear();
        }
        PlaySoundW(nullptr, nullptr, 0);
        changed_.notify_all();
        thread_.join();
    }

    void play(const QString& path, std::function<void()> ended) override {
        {
            std::lock_guard lock(mutex_);
            ++generation_;
            wanted_ = path;
            ended_ = std::move(ended);
        }
        PlaySoundW(nullptr, nullptr, 0); // stops the one that plays
        changed_.notify_all();
    }

    void stop() override {
        {
            std::lock_guard lock(mutex_);
            ++generation_;
            wanted_.clear();
            ended_ = {};
        }
        PlaySoundW(nullptr, nullptr, 0);
    }

    void prepare(const QString&) override {}

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return quit_ || !wanted_.isEmpty(); });
            if (quit_)
                return;
            const QString path = std::exchange(wanted_, {});
            const quint64 generation = generation_;
            lock.unlock();
            const QByteArray sound = soundOf(path);
            if (!sound.isEmpty())
                PlaySoundW(reinterpret_cast<LPCWSTR>(sound.constData()), nullptr,
                           SND_MEMORY | SND_SYNC | SND_NODEFAULT);
            lock.lock();
            // Played to its end, or not playable: the speech goes on, unless it has moved on.
            if (generation == generation_ && ended_) {
                QMetaObject::invokeMethod(QCoreApplication::instance(), std::exchange(ended_, {}),
                                          Qt::QueuedConnection);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    QString wanted_;
    std::function<void()> ended_;
    quint64 generation_ = 0;
    bool quit_ = false;
    std::thread thread_;
};

} // namespace

std::unique_ptr<SoundOutput> makeWindowsSoundOutput(QString* problem) {
    if (waveOutGetNumDevs() == 0) {
        *problem = QStringLiteral("Kein Tonausgabegerät gefunden.");
        return nullptr;
    }
    return std::make_unique<WindowsSoundOutput>();
}

} // namespace platform
