// SPDX-License-Identifier: Apache-2.0
// Sound comes out: a word of the shipped library, said through the real audio module into a
// sound server of the test's own (PulseAudio with a null sink), is recorded from the sink's
// monitor. As root, PulseAudio runs only as the system's server, which drops to its own user:
// its socket lies in a folder that user may write.

#include "platform/speech.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <unistd.h>

#ifndef LAUTGARTEN_BINARY_DIR
#error "LAUTGARTEN_BINARY_DIR must name the folder that holds the audio module"
#endif

class TestAudio : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    // A word played through the module reaches the sound server, loud enough to be heard, and
    // lasts about as long as the file.
    void wordIsHeard();

private:
    QTemporaryDir folder_;
    QProcess server_;
    QString socket_;
};

void TestAudio::initTestCase() {
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    QVERIFY2(!pulseaudio.isEmpty(), "pulseaudio is missing (scripts/setup --with tests)");
    QVERIFY(
        QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther));
    QVERIFY(QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("1777"), folder_.path()}) ==
            0);
    socket_ = folder_.path() + QStringLiteral("/native");
    QFile script(folder_.path() + QStringLiteral("/test.pa"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("load-module module-native-protocol-unix auth-anonymous=1 "
                                "socket=%1\n"
                                "load-module module-null-sink sink_name=lautgarten\n"
                                "set-default-sink lautgarten\n")
                     .arg(socket_)
                     .toUtf8());
    script.close();
    QStringList arguments = {QStringLiteral("--daemonize=no"),
                             QStringLiteral("-n"),
                             QStringLiteral("-F"),
                             script.fileName(),
                             QStringLiteral("--exit-idle-time=-1"),
                             QStringLiteral("--disallow-exit"),
                             QStringLiteral("--use-pid-file=no"),
                             QStringLiteral("--log-target=stderr")};
    if (geteuid() == 0)
        arguments.prepend(QStringLiteral("--system"));
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(pulseaudio, arguments);
    QVERIFY(server_.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket_), 10000);
    qputenv("PULSE_SERVER", QByteArray("unix:") + QFile::encodeName(socket_));
}

void TestAudio::cleanupTestCase() {
    platform::Speech::setOutput(nullptr);
    server_.terminate();
    if (!server_.waitForFinished(5000))
        server_.kill();
}

void TestAudio::wordIsHeard() {
    // The audio loads once a window has been painted, as in the game.
    platform::Speech::loadAfterFirstPaint(QStringLiteral(LAUTGARTEN_BINARY_DIR));
    QWidget window;
    window.resize(100, 100);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(platform::Speech::hasOutput(), 10000);

    QProcess recorder;
    const QString recording = folder_.path() + QStringLiteral("/heard.raw");
    recorder.start(QStringLiteral("parec"),
                   {QStringLiteral("--device=lautgarten.monitor"), QStringLiteral("--raw"),
                    QStringLiteral("--format=s16le"), QStringLiteral("--rate=22050"),
                    QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20"),
                    recording});
    QVERIFY2(recorder.waitForStarted(), "parec is missing (scripts/setup --with tests)");
    QTest::qWait(300);
    const QString word = QStringLiteral(LAUTGARTEN_SOURCE_DIR "/images/a/Apfel.wav");
    platform::Speech::say({{word}});
    // A null sink may hold up to two seconds of silence ahead of what is played.
    QTest::qWait(3500);
    recorder.terminate();
    QVERIFY(recorder.waitForFinished(5000));

    QFile file(recording);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    const qsizetype count = bytes.size() / 2;
    int heard = 0; // samples above -40 dB
    int peak = 0;
    for (qsizetype i = 0; i < count; ++i) {
        heard += std::abs(int(samples[i])) > 328;
        peak = std::max(peak, std::abs(int(samples[i])));
    }
    // "Apfel" lasts half a second and peaks at -7 dB: a good part of it above silence, loud at
    // its top; silence, or a click, is neither.
    QVERIFY2(heard > 22050 / 20 && peak > 8000,
             qPrintable(QStringLiteral("%1 samples above silence of %2, peak %3")
                            .arg(heard)
                            .arg(count)
                            .arg(peak)));
}

QTEST_MAIN(TestAudio)
#include "tst_audio.moc"
