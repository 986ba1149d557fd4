// SPDX-License-Identifier: Apache-2.0
#include "platform/speech.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibrary>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <thread>

namespace platform {

namespace {

struct Utterance {
    std::unique_ptr<SoundOutput> output;
    QList<SoundPiece> pieces;
    qsizetype next = 0;
    // Counts utterances: the end of a piece of an earlier one must not go on with this one.
    quint64 generation = 0;
};

Utterance& current() {
    static Utterance utterance;
    return utterance;
}

void sayNext() {
    Utterance& now = current();
    if (!now.output || now.next >= now.pieces.size())
        return;
    const SoundPiece piece = now.pieces[now.next++];
    const quint64 generation = now.generation;
    now.output->play(piece.path, [generation, pause = piece.pauseMs] {
        if (current().generation != generation)
            return;
        // The next piece from the event loop, never from inside the output's own call.
        QTimer::singleShot(pause, QCoreApplication::instance(), [generation] {
            if (current().generation == generation)
                sayNext();
        });
    });
}

void warn(const QString& line) {
    std::fprintf(stderr, "Lautgarten: %s\n", line.toUtf8().constData());
}

#ifdef Q_OS_WIN
} // namespace
std::unique_ptr<SoundOutput> makeWindowsSoundOutput(QString* problem); // audio_windows.cpp
namespace {
#else
// The module that plays through Qt Multimedia (audio_qt.cpp). It is loaded apart from the
// program: Qt Multimedia and the libraries it brings would otherwise be loaded at every start,
// before the first window.
QLibrary& audioModule() {
    static QLibrary module;
    return module;
}

// Loads the module on a thread of its own while the start page is looked at.
struct ModuleLoader {
    std::thread thread;
    ~ModuleLoader() {
        if (thread.joinable())
            thread.join();
    }
};
#endif

// Makes the audio output on the thread that draws, once its code is loaded.
void startAudio() {
    QString problem;
    std::unique_ptr<SoundOutput> output;
#ifdef Q_OS_WIN
    output = makeWindowsSoundOutput(&problem);
#else
    using Make = SoundOutput* (*)(QString*);
    if (const auto make = reinterpret_cast<Make>(audioModule().resolve("lautgarten_audio_output")))
        output.reset(make(&problem));
    else
        problem = QStringLiteral("Die Tonausgabe ließ sich nicht laden (%1).")
                      .arg(audioModule().errorString());
#endif
    if (!output) {
        warn(problem + QStringLiteral(" Das Spiel bleibt stumm."));
        return;
    }
    Speech::setOutput(std::move(output));
}

// Waits for the first window to be painted, then has the audio loaded.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QString folder)
        : folder_(std::move(folder)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !started_) {
            started_ = true;
            // After this paint has reached the screen.
            QTimer::singleShot(0, this, [this] { load(); });
        }
        return false;
    }

private:
    void load() {
        QCoreApplication::instance()->removeEventFilter(this);
#ifdef Q_OS_WIN
        startAudio();
#else
        static ModuleLoader loader;
        QPointer<QObject> app = QCoreApplication::instance();
        loader.thread =
            std::thread([path = folder_ + QStringLiteral("/audio/lautgarten-audio"), app] {
                audioModule().setFileName(path);
                audioModule().load(); // startAudio() reports a failure
                if (app)
                    QMetaObject::invokeMethod(app, startAudio, Qt::QueuedConnection);
            });
#endif
        deleteLater();
    }

    QString folder_;
    bool started_ = false;
};

} // namespace

namespace Speech {

void say(const QList<SoundPiece>& pieces) {
    if (pieces.isEmpty())
        return;
    stop();
    Utterance& now = current();
    now.pieces = pieces;
    now.next = 0;
    sayNext();
}

void stop() {
    Utterance& now = current();
    ++now.generation;
    now.pieces.clear();
    if (now.output)
        now.output->stop();
}

void prepare(const QString& path) {
    if (current().output)
        current().output->prepare(path);
}

void loadAfterFirstPaint(const QString& programFolder) {
    auto* waiter = new FirstPaint(programFolder);
    waiter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(waiter);
    // The audio goes while the application is still there, which its sound server's connection
    // needs to close cleanly.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     [] { Speech::setOutput(nullptr); });
}

bool hasOutput() {
    return current().output != nullptr;
}

void setOutput(std::unique_ptr<SoundOutput> output) {
    stop();
    current().output = std::move(output);
}

} // namespace Speech

} // namespace platform
