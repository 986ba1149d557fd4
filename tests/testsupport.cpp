// SPDX-License-Identifier: Apache-2.0
#include "testsupport.h"

#include "game/form1.h"
#include "game/letters.h"
#include "platform/speech.h"

#include <QApplication>
#include <QBuffer>
#include <QDataStream>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace testsupport {

TestLibrary::TestLibrary(int filesPerFolder) {
    QDir root(images());
    root.mkpath(QStringLiteral("buchstaben"));
    root.mkpath(QStringLiteral("special"));
    root.mkpath(QStringLiteral("laute"));
    root.mkpath(QStringLiteral("saetze"));
    const QByteArray sound = wav();
    for (const QString& entry : lautgarten::letterEntries()) {
        writePicture(path(QStringLiteral("buchstaben/") + entry + QStringLiteral(".gif")));
        writeBytes(path(QStringLiteral("laute/") + entry + QStringLiteral(".wav")), sound);
        root.mkpath(entry);
        for (int i = 0; i < filesPerFolder; ++i) {
            writePicture(path(entry + QStringLiteral("/%1.png").arg(i)));
            writeBytes(path(entry + QStringLiteral("/%1.wav").arg(i)), sound);
        }
    }
    writePicture(path(QStringLiteral("special/lachi.gif")), Qt::yellow);
    writePicture(path(QStringLiteral("special/weini.gif")), Qt::blue);
    for (const char* phrase : {"richtig", "am-anfang-hoerst-du", "nochmal"})
        writeBytes(path(QStringLiteral("saetze/%1.wav").arg(QLatin1String(phrase))), sound);
}

QByteArray TestLibrary::wav(int milliseconds) {
    const int rate = 8000;
    const int samples = rate * milliseconds / 1000;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + 2 * samples);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(2 * rate)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(2 * samples);
    for (int i = 0; i < samples; ++i)
        out << qint16((i % 20 < 10) ? 2000 : -2000); // a quiet 400 Hz buzz
    return data;
}

void TestLibrary::writePicture(const QString& path, QColor color, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    // A mark in the middle: a picture of one colour alone shows a child nothing.
    if (size.width() > 1 && size.height() > 1)
        QPainter(&image).fillRect(
            QRect(QPoint(), size / 2).translated(size.width() / 4, size.height() / 4),
            color == Qt::black ? Qt::white : Qt::black);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG"))
        qFatal("cannot write test picture %s", qPrintable(path));
}

void TestLibrary::writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

QByteArray photo(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator noise(15);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] =
                qRgb(x * 255 / size.width() ^ (noise.generate() & 31),
                     y * 255 / size.height() ^ (noise.generate() & 31), noise.generate() & 255);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return jpeg;
}

QByteArray withOrientation(const QByteArray& jpeg, int orientation) {
    // APP1 "Exif": a big-endian TIFF header and one directory with the single tag 0x0112.
    QByteArray exif = QByteArray::fromHex("ffe10022") + QByteArray("Exif\0\0", 6) +
                      QByteArray::fromHex("4d4d002a00000008"
                                          "0001"
                                          "011200030000000100") +
                      char(orientation) +
                      QByteArray::fromHex("0000"
                                          "00000000");
    return jpeg.left(2) + exif + jpeg.mid(2);
}

QString errorMismatch(const std::function<void()>& call, platform::ErrorNumber number,
                      const QString& path) {
    try {
        call();
    } catch (const platform::RuntimeError& error) {
        if (error.number() != number)
            return QStringLiteral("error %1 on %2 instead of error %3")
                .arg(int(error.number()))
                .arg(error.path())
                .arg(int(number));
        if (!path.isEmpty() && error.path() != path)
            return QStringLiteral("error %1 on %2 instead of %3")
                .arg(int(number))
                .arg(error.path(), path);
        return {};
    }
    return QStringLiteral("no error %1").arg(int(number));
}

#ifdef Q_OS_LINUX
namespace {

// The two rights that let root past file permissions, as bits of the first capability word.
constexpr quint32 BypassRights = 1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH;

bool capabilities(__user_cap_data_struct (&data)[2], bool set) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

} // namespace

PermissionsApply::PermissionsApply() {
    __user_cap_data_struct data[2]{};
    if (!capabilities(data, false)) {
        why_ = QStringLiteral("the thread's capabilities cannot be read");
        return;
    }
    if ((data[0].effective & BypassRights) == 0)
        return; // an ordinary account: permissions apply already
    data[0].effective &= ~BypassRights;
    if (!capabilities(data, true)) {
        why_ = QStringLiteral("the administrator's rights over file permissions cannot be laid "
                              "down here");
        return;
    }
    dropped_ = true;
}

PermissionsApply::~PermissionsApply() {
    __user_cap_data_struct data[2]{};
    if (dropped_ && capabilities(data, false)) {
        data[0].effective |= BypassRights & data[0].permitted;
        capabilities(data, true);
    }
}
#else
PermissionsApply::PermissionsApply()
    : why_(QStringLiteral("file permissions are tried on Linux only")) {}
PermissionsApply::~PermissionsApply() = default;
#endif

void onNextModal(std::function<void(QWidget*)> action, QObject* context) {
    onNextModalWhere([](QWidget*) { return true; }, std::move(action), context);
}

void onNextModalWhere(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> action,
                      QObject* context) {
    // released with its context or the application
    auto* poll = new QTimer(context ? context : QCoreApplication::instance());
    poll->setInterval(1);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, wanted, action, started] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool expired = started->elapsed() > 10000;
        if (!expired && (!modal || !modal->isVisible() || !wanted(modal)))
            return;
        poll->stop();
        poll->deleteLater();
        if (!expired)
            action(modal);
    });
    poll->start();
}

void waitOutClickShield() {
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 20);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer check;
    check.setInterval(1);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    check.start();
    loop.exec();
    return done();
}

struct SpeechLog::State {
    QElapsedTimer clock;
    int playMs = 0;
    QList<Played> played;
    int stops = 0;
};

namespace {

class RecordingOutput : public platform::SoundOutput {
public:
    explicit RecordingOutput(std::shared_ptr<SpeechLog::State> state)
        : state_(std::move(state)) {}

    void play(const QString& path, std::function<void()> ended) override {
        const qsizetype images = path.lastIndexOf(QStringLiteral("/images/"));
        state_->played.append({images < 0 ? path : path.mid(images + 8), state_->clock.elapsed()});
        timer_.reset(new QTimer);
        timer_->setSingleShot(true);
        QObject::connect(timer_.get(), &QTimer::timeout, std::move(ended));
        timer_->start(state_->playMs);
    }
    void stop() override {
        ++state_->stops;
        timer_.reset();
    }
    void prepare(const QString&) override {}

private:
    std::shared_ptr<SpeechLog::State> state_;
    std::unique_ptr<QTimer> timer_;
};

} // namespace

SpeechLog::SpeechLog(int playMs)
    : state_(std::make_shared<State>()) {
    state_->playMs = playMs;
    state_->clock.start();
    platform::Speech::setOutput(std::make_unique<RecordingOutput>(state_));
}

SpeechLog::~SpeechLog() {
    platform::Speech::setOutput(nullptr);
}

QList<SpeechLog::Played> SpeechLog::played() const {
    return state_->played;
}

QStringList SpeechLog::files() const {
    QStringList files;
    for (const Played& one : state_->played)
        files.append(one.file);
    return files;
}

int SpeechLog::stops() const {
    return state_->stops;
}

void SpeechLog::clear() {
    state_->played.clear();
    state_->stops = 0;
}

void startGame(lautgarten::Form1& form, const QString& name) {
    onNextModal([name](QWidget* page) {
        auto* startPage = qobject_cast<lautgarten::Form3*>(page);
        QVERIFY(startPage);
        startPage->Text1.setText(name);
        QTest::mouseClick(&startPage->Command1, Qt::LeftButton);
    });
    form.Form_Load();
}

} // namespace testsupport
