// SPDX-License-Identifier: Apache-2.0
// Photos straight from a phone: the time and the peak memory of loading one, decoded whole (as
// the game did before it decoded only what a box shows) and for an answer box, and of a page
// whose three answers are such photos. 12 and 48 megapixels, stored as taken and lying on their
// side with the orientation tag of a portrait photo.

#include "benchsupport.h"
#include "game/form1.h"
#include "game/letters.h"
#include "platform/picture.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <fstream>
#include <functional>

namespace {

// Peak resident memory is counted afresh from here (Linux: clear_refs 5 resets VmHWM).
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Measure {
    bench::Spread ms;
    double peakMb = 0; // above the resident memory before, largest of the runs
    QString failure;
};

Measure measure(int runs, const std::function<void()>& work) {
    Measure result;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const long before = bench::statusKb("VmRSS");
        resetPeak();
        QElapsedTimer timer;
        timer.start();
        try {
            work();
        } catch (const platform::RuntimeError& error) {
            result.failure =
                QStringLiteral("fails: error %1, %2").arg(int(error.number())).arg(error.text());
            return result;
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        result.peakMb = std::max(result.peakMb, (bench::statusKb("VmHWM") - before) / 1024.0);
    }
    result.ms = bench::spread(times);
    return result;
}

QString cell(const Measure& m) {
    if (!m.failure.isEmpty())
        return m.failure;
    return QStringLiteral("%1 ms; peak +%2 MB")
        .arg(bench::triple(m.ms, 1))
        .arg(m.peakMb, 0, 'f', 1);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    struct Kind {
        const char* name;
        QSize stored;
        int orientation;
    };
    const Kind kinds[] = {
        {"12 MP, 4000 x 3000", {4000, 3000}, 1},
        {"12 MP portrait, stored 4000 x 3000 with orientation 6", {4000, 3000}, 6},
        {"48 MP, 8000 x 6000", {8000, 6000}, 1},
        {"48 MP portrait, stored 8000 x 6000 with orientation 6", {8000, 6000}, 6},
    };
    for (const Kind& kind : kinds) {
        testsupport::TestLibrary library(0);
        const QByteArray jpeg =
            testsupport::withOrientation(testsupport::photo(kind.stored), kind.orientation);
        const QString photo = library.path(QStringLiteral("foto.jpg"));
        testsupport::TestLibrary::writeBytes(photo, jpeg);
        for (const QString& entry : lautgarten::letterEntries())
            QFile::link(photo, library.path(entry + QStringLiteral("/foto.jpg")));

        const Measure whole = measure(5, [&] { platform::LoadPicture(photo); });
        const Measure boxed =
            measure(5, [&] { platform::LoadPicture(photo, lautgarten::AnswerBox); });
        lautgarten::Form1 form(platform::AppInfo{library.appPath()});
        testsupport::startGame(form);
        form.Timer1.setEnabled(false);
        const Measure page = measure(11, [&] { form.Picture3_Click(); });
        bench::row(QStringLiteral("| 7 | photo of %1 (%2 MB file): one picture decoded whole, as "
                                  "before · for an answer box · a page of three such answers, "
                                  "ms min / median / max and peak memory | %3 · %4 · %5 | – | – "
                                  "| a page < 100 ms, < 20 MB | %6 |")
                       .arg(QString::fromUtf8(kind.name))
                       .arg(jpeg.size() / 1e6, 0, 'f', 1)
                       .arg(cell(whole), cell(boxed), cell(page))
                       .arg(QString::fromUtf8(bench::verdict(
                           page.failure.isEmpty() && page.ms.median < 100 && page.peakMb < 20))));
    }
    return 0;
}
