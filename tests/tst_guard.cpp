// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"
#include "platform/guard.h"
#include "testsupport.h"

#include <QFile>
#include <QMessageBox>
#include <QTemporaryFile>
#include <QTest>
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

// Answers the next error box, noting what it said, and stands in for the program's end.
void watchReport(Report& report) {
    FatalErrorReport::exit = [&report](int code) {
        report.exitCode = code;
        ++report.exits;
    };
    testsupport::onNextModal([&report](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        QVERIFY(box);
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

QTEST_MAIN(TestGuard)
#include "tst_guard.moc"
