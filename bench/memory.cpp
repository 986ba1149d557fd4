// SPDX-License-Identifier: Apache-2.0
// Memory over a long session: 10,000 pages ("WEITER") and 200 feedback windows opened and
// closed by a click on the face, each page and window painted on the screen. Growth is the
// resident memory (and the heap in use) after all of it against after a short warm-up.

#include "benchsupport.h"
#include "game/form1.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

using lautgarten::Form1;
using lautgarten::Form2;
using platform::AppInfo;
using testsupport::onNext;

namespace {

// Lets paints, hidden windows and deferred deletes finish.
void settle(int ms) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void pages(Form1& form, int count) {
    for (int i = 0; i < count; ++i) {
        QTest::mouseClick(&form.Picture3, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
}

// Answers a box; the face that opens is clicked as soon as it is shown.
void answers(Form1& form, int count) {
    for (int i = 0; i < count; ++i) {
        onNext<Form2>(
            [](Form2& feedback) { QTest::mouseClick(&feedback.Picture1, Qt::LeftButton); });
        QTest::mouseClick(&form.Picture2[std::size_t(i % 3)], Qt::LeftButton);
        QCoreApplication::processEvents();
    }
}

struct Sample {
    double rssKb, heapKb;
    int windows;
};

Sample sample() {
    settle(300);
    return {double(bench::statusKb("VmRSS")), bench::heapInUseBytes() / 1024.0,
            int(QApplication::topLevelWidgets().size())};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int pageCount = 10000, answerCount = 200;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--pages") == 0)
            pageCount = std::atoi(argv[++i]);
        else if (qstrcmp(argv[i], "--answers") == 0)
            answerCount = std::atoi(argv[++i]);
    }
    Form1 form(AppInfo{QStringLiteral(LAUTGARTEN_SOURCE_DIR)});
    // The start page is left by its close button: no clock, so no results window comes
    // between the answers.
    testsupport::onNextModal([](QWidget* page) { page->close(); });
    form.Form_Load();
    form.showMaximized();

    // Warm-up: every letter picture and window kind has been loaded once.
    pages(form, 200);
    answers(form, 12);
    const Sample before = sample();
    pages(form, pageCount);
    const Sample afterPages = sample();
    answers(form, answerCount);
    const Sample after = sample();

    const double growthKb = after.rssKb - before.rssKb;
    bench::row(QStringLiteral("| 5 | memory growth after %1 pages and %2 feedback windows "
                              "(resident kB: after warm-up / after pages / after windows; heap in "
                              "use kB; top-level windows) | %3 / %4 / %5; heap %6 → %7; windows "
                              "%8 → %9 | – | **%10 MB** | < 2 MB | %11 |")
                   .arg(pageCount)
                   .arg(answerCount)
                   .arg(before.rssKb, 0, 'f', 0)
                   .arg(afterPages.rssKb, 0, 'f', 0)
                   .arg(after.rssKb, 0, 'f', 0)
                   .arg(before.heapKb, 0, 'f', 0)
                   .arg(after.heapKb, 0, 'f', 0)
                   .arg(before.windows)
                   .arg(after.windows)
                   .arg(growthKb / 1024.0, 0, 'f', 2)
                   .arg(QString::fromLatin1(bench::verdict(growthKb < 2048))));
    return 0;
}
