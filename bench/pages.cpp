// SPDX-License-Identifier: Apache-2.0
// Page building: BuildPage (through "WEITER") on the shipped library against the same work
// without the windows, and BuildPage while one letter folder holds thousands of files against
// listing that folder alone.
//
//   bench_pages [--workdir DIR] [benchmark flags]    timings, printed as rows of the table
//   bench_pages --instructions SIDE [--size N] [--workdir DIR]
//                                                     one pass for callgrind; SIDE is build,
//                                                     floor, growth-page or growth-list

#include "benchsupport.h"
#include "game/form1.h"
#include "game/letters.h"
#include "game/names.h"
#include "game/page.h"
#include "platform/filelistbox.h"
#include "platform/picture.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>

#ifdef LAUTGARTEN_HAVE_CALLGRIND
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

using lautgarten::Form1;
using platform::AppInfo;
using platform::FileListBox;
using platform::LoadPicture;
using platform::Picture;

namespace {

// The folder sizes of the growth measurement, and the letter folder that grows ("b").
const std::vector<int> GrowthSizes = {10, 1000, 10000, 32767};
constexpr int16_t GrowingLetter = 2;
// Pages per pass: every repetition builds the same pages in the same order.
constexpr int PagesPerPass = 300;
constexpr int Repetitions = 21;

// One page as the generator chooses it: the values fed to the form's generator, and the
// folders and pictures the page uses.
struct Page {
    std::vector<double> script;
    QString letterPicture;
    std::array<QString, 3> folders; // the right letter, the first and second wrong letter
    std::array<int16_t, 3> picks{};
    std::array<int, 3> boxes{};
    std::array<int16_t, 3> letters{};
};

// Draws pages by the game's own page rules from a fixed seed, so every run builds the same
// pages; with target set, every page asks for that letter.
std::vector<Page> drawPages(const Form1& form, const QString& images, int count, unsigned seed,
                            int16_t target = 0) {
    std::mt19937 generator(seed);
    const auto& table = form.LetterTable;
    std::map<int, int16_t> sizes;
    auto sizeOf = [&](int index) {
        if (!sizes.count(index)) {
            FileListBox list;
            list.setPath(images + table[std::size_t(index)]);
            sizes[index] = list.listCount();
        }
        return sizes[index];
    };
    std::vector<Page> pages;
    for (int i = 0; i < count; ++i) {
        Page page;
        const lautgarten::Page drawn = lautgarten::drawPage({
            .Rnd =
                [&] {
                    const double r =
                        target && page.script.empty()
                            ? (target - 0.5) / 35.0
                            : std::uniform_real_distribution<double>(0.0, 1.0)(generator);
                    page.script.push_back(r);
                    return r;
                },
            .letterDrawn = [](int16_t) {},
            .filesIn = [&](int16_t letter) { return sizeOf(letter); },
            .pictureDrawn = [](const lautgarten::PagePicture&) {},
            // As the game does, so that both draw the same pages from the same values.
            .namedLikePage =
                [&](int16_t letter, const lautgarten::PagePicture& picture) {
                    FileListBox list;
                    list.setPath(images + table[std::size_t(picture.letter)]);
                    return lautgarten::PictureNames::of(list.path() + QLatin1Char('/') +
                                                        list.list(picture.file))
                        .soundLike(letter);
                },
        });
        for (std::size_t k = 0; k < 3; ++k) {
            const lautgarten::PagePicture& picture = drawn.pictures[k];
            page.letters[k] = picture.letter;
            page.boxes[k] = picture.slot;
            page.picks[k] = picture.file;
            page.folders[k] = images + table[std::size_t(picture.letter)];
        }
        page.letterPicture = images + QStringLiteral("buchstaben/") +
                             table[std::size_t(drawn.letter)] + QStringLiteral(".gif");
        pages.push_back(page);
    }
    return pages;
}

void buildPage(Form1& form, const Page& page) {
    for (double value : page.script)
        form.Rng.feed({value});
    form.Picture3_Click();
}

// The same work without the windows: the letter picture, then each folder listed and one of
// its pictures decoded, with the program's own loader and file list, for the boxes they fill.
struct Floor {
    Picture letter;
    std::array<Picture, 3> answers;
    FileListBox list;

    void build(const Page& page) {
        letter = LoadPicture(page.letterPicture, lautgarten::LetterBox);
        for (std::size_t k = 0; k < 3; ++k) {
            list.setPath(page.folders[k]);
            answers[k] = LoadPicture(list.path() + QLatin1Char('/') + list.list(page.picks[k]),
                                     lautgarten::AnswerBox);
        }
    }
};

// The page the form shows must be the one drawn; otherwise the two sides measure different work.
void check(Form1& form, const Page& page) {
    buildPage(form, page);
    bool same = form.TargetIndex == page.letters[0] && form.DecoyIndex1 == page.letters[1] &&
                form.DecoyIndex2 == page.letters[2] && form.Rng.scriptLeft() == 0 &&
                form.Picture1.picture().path == page.letterPicture;
    for (std::size_t k = 0; k < 3; ++k) {
        FileListBox list;
        list.setPath(page.folders[k]);
        const QString path = list.path() + QLatin1Char('/') + list.list(page.picks[k]);
        same = same && form.Picture2[std::size_t(page.boxes[k])].picture().path == path;
    }
    if (!same)
        qFatal("the form built another page than the one drawn");
}

std::unique_ptr<Form1> loadedForm(const QString& appPath) {
    auto form = std::make_unique<Form1>(AppInfo{appPath});
    testsupport::onNextModal([](QWidget* page) { page->close(); });
    form->Form_Load();
    return form;
}

// A library whose folder "b" holds size copies (hard links) of one of its shipped pictures; the
// other folders are the shipped ones.
QString growthLibrary(const QString& workdir, int size) {
    namespace fs = std::filesystem;
    const fs::path shipped = fs::path(LAUTGARTEN_SOURCE_DIR) / "images";
    const fs::path root = fs::path(workdir.toStdString()) / ("library-" + std::to_string(size));
    const fs::path images = root / "images";
    const fs::path big = images / "b";
    if (fs::exists(big) && std::distance(fs::directory_iterator(big), {}) == size)
        return QString::fromStdString(root.string());
    fs::remove_all(root);
    fs::create_directories(big);
    for (const auto& entry : fs::directory_iterator(shipped)) {
        if (entry.path().filename() != "b")
            fs::create_symlink(entry.path(), images / entry.path().filename());
    }
    // A picture, not the word or the names that lie beside it.
    fs::path sample;
    for (const auto& entry : fs::directory_iterator(shipped / "b")) {
        if (entry.path().extension() == ".png")
            sample = std::max(sample, entry.path());
    }
    const fs::path original = root / "sample.png";
    fs::copy_file(sample, original);
    char name[32];
    for (int i = 0; i < size; ++i) {
        std::snprintf(name, sizeof name, "Bild%05d.png", i);
        fs::create_hard_link(original, big / name);
    }
    return QString::fromStdString(root.string());
}

struct Growth {
    QString appPath;
    std::unique_ptr<Form1> form;
    std::vector<Page> pages;
    QString folder;
};

// Per-repetition times of each benchmark, in seconds per iteration.
class Collector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::vector<double>> seconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds[run.run_name.function_name].push_back(run.real_accumulated_time /
                                                              double(run.iterations));
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

QString ms(double seconds, int decimals = 2) {
    return QString::number(seconds * 1e3, 'f', decimals);
}

} // namespace

int main(int argc, char* argv[]) {
    // Repetitions of the two sides alternate in random order, so that a disturbance of the
    // shared machine falls on both.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());

    QString workdir;
    QString instructions;
    int instructionSize = GrowthSizes.back();
    std::vector<char*> rest = {args[0]};
    for (int i = 1; i < count; ++i) {
        const QString arg = QString::fromLocal8Bit(args[std::size_t(i)]);
        if (arg == QLatin1String("--workdir") && i + 1 < count)
            workdir = QString::fromLocal8Bit(args[std::size_t(++i)]);
        else if (arg == QLatin1String("--instructions") && i + 1 < count)
            instructions = QString::fromLocal8Bit(args[std::size_t(++i)]);
        else if (arg == QLatin1String("--size") && i + 1 < count)
            instructionSize = std::atoi(args[std::size_t(++i)]);
        else
            rest.push_back(args[std::size_t(i)]);
    }
    int restCount = int(rest.size());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(restCount, rest.data());
    QTemporaryDir temporary;
    if (workdir.isEmpty())
        workdir = temporary.path();

    const QString shippedApp = QStringLiteral(LAUTGARTEN_SOURCE_DIR);
    const QString shippedImages = shippedApp + QStringLiteral("/images/");

    if (!instructions.isEmpty()) {
        // One pass of one side, counted by callgrind between the two markers; a pass of both
        // sides first loads what either needs.
        const bool growth = instructions.startsWith(QLatin1String("growth"));
        const QString appPath = growth ? growthLibrary(workdir, instructionSize) : shippedApp;
        const QString images = appPath + QStringLiteral("/images/");
        auto form = loadedForm(appPath);
        const auto pages = drawPages(*form, images, growth ? 5 : 40, 7, growth ? GrowingLetter : 0);
        Floor floor;
        for (const Page& page : pages) {
            check(*form, page);
            floor.build(page);
        }
        CALLGRIND_START_INSTRUMENTATION;
        for (const Page& page : pages) {
            if (instructions == QLatin1String("build") ||
                instructions == QLatin1String("growth-page"))
                buildPage(*form, page);
            else if (instructions == QLatin1String("floor"))
                floor.build(page);
            else {
                FileListBox fresh;
                fresh.setPath(page.folders[0]);
            }
        }
        CALLGRIND_STOP_INSTRUMENTATION;
        std::printf("%zu\n", pages.size());
        return 0;
    }

    // The shipped library.
    auto shipped = loadedForm(shippedApp);
    const auto pages = drawPages(*shipped, shippedImages, PagesPerPass, 1);
    for (const Page& page : pages)
        check(*shipped, page);
    Floor floor;
    benchmark::RegisterBenchmark("page",
                                 [&](benchmark::State& state) {
                                     std::size_t next = 0;
                                     for (auto _ : state)
                                         buildPage(*shipped, pages[next++ % pages.size()]);
                                 })
        ->Iterations(PagesPerPass)
        ->Repetitions(Repetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("page floor",
                                 [&](benchmark::State& state) {
                                     std::size_t next = 0;
                                     for (auto _ : state)
                                         floor.build(pages[next++ % pages.size()]);
                                 })
        ->Iterations(PagesPerPass)
        ->Repetitions(Repetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);

    // One growing letter folder.
    std::map<int, Growth> growth;
    for (int size : GrowthSizes) {
        Growth& g = growth[size];
        g.appPath = growthLibrary(workdir, size);
        g.form = loadedForm(g.appPath);
        g.pages = drawPages(*g.form, g.appPath + QStringLiteral("/images/"), 20, 2, GrowingLetter);
        for (const Page& page : g.pages)
            check(*g.form, page);
        g.folder = g.pages.front().folders[0];
        // Fewer iterations where one takes long; each repetition still takes some 30 ms or more.
        const int iterations = std::max(3, 2000 / (size / 20 + 1));
        const std::string n = std::to_string(size);
        benchmark::RegisterBenchmark(("growth page/" + n).c_str(),
                                     [&g](benchmark::State& state) {
                                         std::size_t next = 0;
                                         for (auto _ : state)
                                             buildPage(*g.form, g.pages[next++ % g.pages.size()]);
                                     })
            ->Iterations(iterations)
            ->Repetitions(11)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("growth list/" + n).c_str(),
                                     [&g](benchmark::State& state) {
                                         // A fresh list each time, as the page holds one big list
                                         // at a time.
                                         for (auto _ : state) {
                                             FileListBox list;
                                             list.setPath(g.folder);
                                         }
                                     })
            ->Iterations(iterations)
            ->Repetitions(11)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }

    Collector collector;
    collector.SetOutputStream(&std::cerr);
    collector.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    using bench::row;
    using bench::spread;
    const auto build = spread(collector.seconds["page"]);
    const auto bare = spread(collector.seconds["page floor"]);
    if (build.median > 0 && bare.median > 0) {
        const double ratio = build.median / bare.median;
        row(QStringLiteral("| 2 | page build, shipped library (ms per page, min / median / max "
                           "of %1 passes of %2 pages) | %3 | %4 | **%5** | ≤ 1.3 and median "
                           "< 5 ms | %6 |")
                .arg(Repetitions)
                .arg(PagesPerPass)
                .arg(bench::triple({build.min * 1e3, build.median * 1e3, build.max * 1e3}, 2))
                .arg(bench::triple({bare.min * 1e3, bare.median * 1e3, bare.max * 1e3}, 2))
                .arg(ratio, 0, 'f', 2)
                .arg(QString::fromLatin1(bench::verdict(ratio <= 1.3 && build.median < 5e-3))));
    }
    // What each further file adds to a page, between one folder size and the next. Linear: this
    // stays the same as the folder grows; from 10,000 to 32,767 files it may be at most 1.5 times
    // what it is from 1,000 to 10,000 (sorting the names alone grows a little faster).
    double previousPage = 0, previousSlope = 0;
    int previousSize = 0;
    for (int size : GrowthSizes) {
        const std::string n = std::to_string(size);
        const auto page = spread(collector.seconds["growth page/" + n]);
        const auto list = spread(collector.seconds["growth list/" + n]);
        if (page.median <= 0 || list.median <= 0)
            continue;
        const double ratio = page.median / list.median;
        const double slope =
            previousSize ? (page.median - previousPage) / (size - previousSize) * 1e6 : 0;
        const bool last = size == GrowthSizes.back();
        const bool linear = previousSlope > 0 && slope <= 1.5 * previousSlope;
        row(QStringLiteral("| 3 | page build, folder of %1 files: ms per page (min / median / "
                           "max of 11) · µs per listed file · µs per further file since the "
                           "size before | %2 · %3 · %4 | listing alone %5 ms | **%6** | %7 | %8 |")
                .arg(size)
                .arg(bench::triple({page.min * 1e3, page.median * 1e3, page.max * 1e3}, 2))
                .arg(page.median / size * 1e6, 0, 'f', 2)
                .arg(previousSize ? QString::number(slope, 'f', 2) : QStringLiteral("–"))
                .arg(ms(list.median))
                .arg(ratio, 0, 'f', 2)
                .arg(last ? QStringLiteral("≤ 1.2; µs per further file ≤ 1.5 × the one before")
                          : QStringLiteral("–"))
                .arg(last ? QString::fromLatin1(bench::verdict(ratio <= 1.2 && linear))
                          : QString()));
        previousPage = page.median;
        previousSize = size;
        if (size >= 1000)
            previousSlope = slope;
    }
    return 0;
}
