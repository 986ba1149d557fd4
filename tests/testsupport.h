// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/runtimeerror.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace lautgarten {
class Form1;
}

Q_DECLARE_METATYPE(platform::ErrorNumber)

namespace testsupport {

// Values of the game's generator that choose a given outcome of a page, to feed to Form1::Rng.
namespace rnd {
// The letter at table index 1..35.
constexpr double letter(int index) {
    return (index - 0.5) / 35.0;
}
// File i of a folder of n files.
constexpr double pick(int i, int n) {
    return (i + 0.5) / n;
}
// Answer box 0, 1 or 2.
constexpr double box(int slot) {
    return (slot + 0.5) / 3.0;
}
} // namespace rnd

// Empty when call ends with run-time error number, on path unless path is empty; otherwise what
// happened instead.
QString errorMismatch(const std::function<void()>& call, platform::ErrorNumber number,
                      const QString& path = {});

// Checks that the statements after number end with that run-time error (an ErrorNumber).
#define QVERIFY_ERROR(number, ...) QVERIFY_ERROR_ON(number, QString(), __VA_ARGS__)
// The same, and the error names path.
#define QVERIFY_ERROR_ON(number, path, ...)                                                        \
    do {                                                                                           \
        const QString mismatch_ = testsupport::errorMismatch([&] { __VA_ARGS__; }, number, path);  \
        QVERIFY2(mismatch_.isEmpty(), qPrintable(mismatch_));                                      \
    } while (false)

// A picture library in a temporary folder, laid out as the game expects it beside the program:
// images/buchstaben/<entry>.gif, images/<entry>/ with pictures and their words (0.png, 0.wav),
// images/special/ with the faces, images/laute/ and images/saetze/ with the sounds.
class TestLibrary {
public:
    // Every letter folder gets filesPerFolder pictures named 0.png, 1.png, ...
    explicit TestLibrary(int filesPerFolder = 2);

    QString appPath() const { return dir_.path(); }
    QString images() const { return dir_.path() + QStringLiteral("/images/"); }
    QString path(const QString& relative) const { return images() + relative; }

    // Writes a small valid picture (PNG content, whatever the name says): one colour with a
    // black (on black, white) mark in the middle.
    static void writePicture(const QString& path, QColor color = Qt::green, QSize size = {64, 64});
    static void writeBytes(const QString& path, const QByteArray& bytes);
    // A short WAV file of the kind the game plays (16-bit PCM, mono).
    static QByteArray wav(int milliseconds = 100);

private:
    QTemporaryDir dir_;
};

// A JPEG as a camera makes it: gradients and noise, so it is as large as a photo of its size.
QByteArray photo(QSize size);
// The same JPEG with an Exif segment holding an orientation tag (6: a phone's portrait photo,
// stored lying on its side).
QByteArray withOrientation(const QByteArray& jpeg, int orientation);

// While it lives, the calling thread meets file permissions as any account does: an administrator
// (root), who reads and searches past them, lays that right down until it ends. Where that cannot
// be done, active() is false and why() tells it.
class PermissionsApply {
public:
    PermissionsApply();
    ~PermissionsApply();
    PermissionsApply(const PermissionsApply&) = delete;
    PermissionsApply& operator=(const PermissionsApply&) = delete;
    bool active() const { return why_.isEmpty(); }
    QString why() const { return why_; }

private:
    QString why_;
    bool dropped_ = false;
};

// Runs action on the next modal window that opens, from the event loop, once it is shown.
// Gives up after ten seconds without one, or when context (if given) is destroyed: a test whose
// window never came must not leave the action behind for a later test's window.
void onNextModal(std::function<void(QWidget*)> action, QObject* context = nullptr);
// The same for the next modal window of one kind, passing over the others.
void onNextModalWhere(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> action,
                      QObject* context = nullptr);

template <class Window>
void onNext(std::function<void(Window&)> action, QObject* context = nullptr) {
    onNextModalWhere([](QWidget* modal) { return qobject_cast<Window*>(modal) != nullptr; },
                     [action](QWidget* modal) { action(*qobject_cast<Window*>(modal)); }, context);
}

// Lets the time pass after a window opened by itself (the results, opened by the clock) during
// which a press is not yet a click.
void waitOutClickShield();

// Runs a real event loop until done() holds or the time is up; returns done(). Unlike
// QTest::qWait it does not sleep between rounds, so short timers tick at their own pace.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000);

// Stands in for the audio while it lives: records every sound file the speech plays, and when,
// and lets each play for playMs. Files are named from the picture library's images folder on
// ("laute/m.wav", "a/0.wav").
class SpeechLog {
public:
    explicit SpeechLog(int playMs = 30);
    ~SpeechLog();
    SpeechLog(const SpeechLog&) = delete;
    SpeechLog& operator=(const SpeechLog&) = delete;

    struct Played {
        QString file;
        qint64 atMs; // since the log was made
    };
    QList<Played> played() const;
    QStringList files() const;
    int stops() const;
    void clear();

    struct State; // shared with the stand-in output

private:
    std::shared_ptr<State> state_;
};

// Builds a main window on a library, runs its start-up and presses "Spiel starten" with the
// given name on the start page.
void startGame(lautgarten::Form1& form, const QString& name = QStringLiteral("Mia"));

} // namespace testsupport
