// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/guard.h"
#include "testsupport.h"

#include <QFile>
#include <QMessageBox>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

using platform::ErrorNumber;
using platform::FatalErrorReport;
using platform::RuntimeError;

namespace {

// Collects what is written to standard error while it lives.
class StandardError {
public:
    StandardError() {
        file_.open();
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StandardError() { restore(); }
    QString text() {
        restore();
        QFile read(file_.fileName());
        read.open(QIODevice::ReadOnly);
        return QString::fromUtf8(read.readAll());
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

struct Report {
    QString title;
    QString text;
    int exitCode = 0;
    int exits = 0;
};

// Answers the next error box, noting what it said, and stands in for the program's end. While the
// box is open, during runs first.
void watchReport(Report& report, std::function<void()> during = {}) {
    FatalErrorReport::exit = [&report](int code) {
        report.exitCode = code;
        ++report.exits;
    };
    testsupport::onNextModal([&report, during](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        QVERIFY(box);
        if (during)
            during();
        report.title = box->windowTitle();
        report.text = box->text();
        box->accept();
    });
}

} // namespace

class TestGuard : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { FatalErrorReport::exit = nullptr; }

    // An error that leaves a handler shows the box titled "Lautgarten" with number, text and
    // path, writes the same to standard error, and ends the program with a non-zero code.
    void reportsAndEnds();
    // Errors in handlers that Qt calls (a click) reach the guard, never Qt's event loop.
    void clickOnBrokenLibrary();
    // Behind an open error box the clock stops counting and clicks do nothing: the results
    // window would otherwise open over the box and log a game that failed.
    void nothingRunsBehindTheBox();
};

void TestGuard::reportsAndEnds() {
    Report report;
    watchReport(report);
    StandardError errors;
    FatalErrorReport::report(
        RuntimeError(ErrorNumber::FileNotFound, QStringLiteral("/x/images/a.gif")));
    const QString written = errors.text();
    QCOMPARE(report.title, QStringLiteral("Lautgarten"));
    QCOMPARE(report.text,
             QStringLiteral("Laufzeitfehler '53':\n\nDatei nicht gefunden\n\n/x/images/a.gif"));
    QVERIFY2(written.contains(report.text), qPrintable(written));
    QCOMPARE(report.exits, 1);
    QVERIFY(report.exitCode != 0);
}

void TestGuard::clickOnBrokenLibrary() {
    testsupport::TestLibrary library;
    lautgarten::Form1 form(platform::AppInfo{library.appPath()});
    testsupport::startGame(form);
    form.Timer1.setEnabled(false);
    form.show();
    QVERIFY(QDir(library.path(QStringLiteral("buchstaben"))).removeRecursively());

    Report report;
    watchReport(report);
    StandardError errors;
    QTest::mouseClick(&form.Picture3, Qt::LeftButton); // "WEITER" needs a letter picture
    errors.text();
    QCOMPARE(report.exits, 1);
    QVERIFY(
        report.text.startsWith(QStringLiteral("Laufzeitfehler '76':\n\nPfad nicht gefunden\n\n") +
                               library.path(QStringLiteral("buchstaben/"))));
}

void TestGuard::nothingRunsBehindTheBox() {
    testsupport::TestLibrary library;
    lautgarten::Form1 form(platform::AppInfo{library.appPath()});
    testsupport::startGame(form);
    form.Timer1.setInterval(5);
    form.Label3.setText(QStringLiteral("3")); // the game would end after 15 ms
    form.show();
    QVERIFY(QDir(library.path(QStringLiteral("buchstaben"))).removeRecursively());

    Report report;
    QString clockDuringBox;
    bool faceDuringBox = true;
    watchReport(report, [&] {
        // A results window opened behind the box would wait for a click; this one comes.
        QTimer::singleShot(300, &form, [&form] {
            if (form.Form4.isLoaded())
                form.Form4->hide();
        });
        QTest::qWait(100);
        QTest::mouseClick(&form.Picture2[std::size_t(form.CorrectSlot)], Qt::LeftButton);
        clockDuringBox = form.Label3.text();
        faceDuringBox = form.Form2.isLoaded();
    });
    StandardError errors;
    QTest::mouseClick(&form.Picture3, Qt::LeftButton);
    errors.text();
    QCOMPARE(report.exits, 1);
    QCOMPARE(clockDuringBox, QStringLiteral("3"));
    QVERIFY(!faceDuringBox);
    QVERIFY(!form.Form4.isLoaded());
    QCOMPARE(form.HitCount, int16_t(0));
}

QTEST_MAIN(TestGuard)
#include "tst_guard.moc"
