// SPDX-License-Identifier: Apache-2.0
// The audio of the speech on Windows: the platform's own PlaySound, which reads the WAV file
// itself. It plays one sound at a time and stops the one before, as the speech wants; a thread
// of its own waits for each to end, so that the windows never wait for it.

#include "platform/speech.h"

#include <QCoreApplication>
#include <QDir>
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
            wanted_ = QDir::toNativeSeparators(path).toStdWString();
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
            changed_.wait(lock, [this] { return quit_ || !wanted_.empty(); });
            if (quit_)
                return;
            const std::wstring path = std::exchange(wanted_, {});
            const quint64 generation = generation_;
            lock.unlock();
            PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
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
    std::wstring wanted_;
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
