// SPDX-License-Identifier: Apache-2.0
// The audio of the speech on Linux, through Qt Multimedia, built as the module lautgarten-audio
// that platform/speech.cpp loads once the first window is up. Qt reads the sound files
// (QSoundEffect decodes WAV itself) and hands them to the sound server.

#include "platform/speech.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <list>
#include <memory>

namespace {

// Messages Qt Multimedia writes while it looks for a sound server that is not there: the game
// says once, in its own words, that it stays silent.
QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg || type == QtInfoMsg || type == QtDebugMsg)
        return;
    previousHandler(type, context, message);
}

class QtSoundOutput : public platform::SoundOutput {
public:
    void play(const QString& path, std::function<void()> ended) override {
        stop();
        playing_ = effect(path);
        ended_ = std::move(ended);
        if (playing_->status() == QSoundEffect::Error)
            finish();
        else
            playing_->play();
    }

    void stop() override {
        ended_ = {};
        if (playing_)
            playing_->stop();
        playing_ = nullptr;
    }

    void prepare(const QString& path) override { effect(path); }

private:
    // Sounds read before stay ready: a word that was spoken once starts at once the next time.
    static constexpr std::size_t Kept = 24;

    QSoundEffect* effect(const QString& path) {
        for (auto it = effects_.begin(); it != effects_.end(); ++it) {
            if (it->first == path) {
                effects_.splice(effects_.begin(), effects_, it);
                return it->second.get();
            }
        }
        if (effects_.size() >= Kept && effects_.back().second.get() != playing_)
            effects_.pop_back();
        auto created = std::make_unique<QSoundEffect>();
        QSoundEffect* sound = created.get();
        QObject::connect(sound, &QSoundEffect::playingChanged, sound, [this, sound] {
            if (sound == playing_ && !sound->isPlaying())
                finish();
        });
        QObject::connect(sound, &QSoundEffect::statusChanged, sound, [this, sound] {
            if (sound == playing_ && sound->status() == QSoundEffect::Error)
                finish();
        });
        sound->setSource(QUrl::fromLocalFile(path));
        effects_.emplace_front(path, std::move(created));
        return sound;
    }

    void finish() {
        playing_ = nullptr;
        if (auto ended = std::exchange(ended_, {}))
            QTimer::singleShot(0, ended);
    }

    std::list<std::pair<QString, std::unique_ptr<QSoundEffect>>> effects_;
    QSoundEffect* playing_ = nullptr;
    std::function<void()> ended_;
};

} // namespace

extern "C" Q_DECL_EXPORT platform::SoundOutput* lautgarten_audio_output(QString* problem) {
    previousHandler = qInstallMessageHandler(quietHandler);
    const bool found = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previousHandler);
    if (!found) {
        *problem = QStringLiteral("Kein Tonausgabegerät und kein Tonserver gefunden.");
        return nullptr;
    }
    return new QtSoundOutput;
}
