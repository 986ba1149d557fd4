// SPDX-License-Identifier: Apache-2.0
// From the mouse coming to rest on an answer picture to the first sample of its word at the
// sound server, on the real program under X:
//
//   bench_hearing --monitor SOURCE [--words N] [--word FILE] -- program [args...]
//
// The sound server is the one PULSE_SERVER names (bench/run starts a PulseAudio of its own with a
// null sink, kept at a low latency by a silent stream, as a sound card keeps it); SOURCE is the
// monitor of its sink, recorded with parec. The pointer is moved onto an answer by xdotool, and
// the time runs from that move to the first recorded samples above silence, less the half second
// of rest the game waits for (platform::PictureBox::RestMs). With --word, the same is measured
// for paplay playing FILE from its start: the floor of the server's own way to the sink.

#include "aims.h"
#include "benchsupport.h"
#include "platform/picturebox.h"
#include "xwait.h"

#include <cstdlib>

namespace {

// A recorder of the monitor: parec writing raw samples into a pipe that is read as they come.
struct Recorder {
    xwait::Child child;
    int fd = -1;

    explicit Recorder(const std::string& source) {
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC) != 0)
            xwait::fail("no pipe");
        // parec comes with pulseaudio-utils.
        const std::vector<std::string> args = {
            "parec",        "--device=" + source, "--raw",           "--format=s16le",
            "--rate=22050", "--channels=1",       "--latency-msec=5"};
        child = xwait::spawn(args, pipe[1]);
        close(pipe[1]);
        fd = pipe[0];
        fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    ~Recorder() {
        xwait::stop(child);
        close(fd);
    }

    // Reads until the deadline; returns when the first samples above silence arrived, or -1.
    double firstSound(double deadline, bool stopAtSound) {
        double heard = -1;
        char buffer[8192];
        while (xwait::now() < deadline) {
            pollfd wait{fd, POLLIN, 0};
            if (poll(&wait, 1, 5) <= 0)
                continue;
            const ssize_t got = read(fd, buffer, sizeof buffer);
            const double when = xwait::now();
            for (ssize_t i = 0; i + 1 < got && heard < 0; i += 2) {
                const int sample = int16_t(uint8_t(buffer[i]) | uint8_t(buffer[i + 1]) << 8);
                if (std::abs(sample) > 300) // -40 dB
                    heard = when;
            }
            if (heard >= 0 && stopAtSound)
                return heard;
        }
        return heard;
    }
};

void run(const std::vector<std::string>& command) {
    xwait::Child tool = xwait::spawn(command);
    waitpid(tool.pid, nullptr, 0);
    close(tool.pidfd);
}

} // namespace

int main(int argc, char* argv[]) {
    const xwait::CommandLine line =
        xwait::commandLine(argc, argv, {"--monitor", "--words", "--word"},
                           "usage: bench_hearing --monitor SOURCE [--words N] [--word FILE] -- "
                           "program [args...]");
    const std::string source = line.text("--monitor", "");
    const int words = int(line.number("--words", 12));
    const std::string word = line.text("--word", "");
    if (source.empty())
        xwait::fail("bench_hearing: --monitor names the sink's monitor");

    Display* display = xwait::openDisplay();
    const bench::Aims aims(QSize(DisplayWidth(display, DefaultScreen(display)),
                                 DisplayHeight(display, DefaultScreen(display))));
    Recorder recorder(source);
    recorder.firstSound(xwait::now() + 300, false);

    std::vector<double> floor;
    for (int i = 0; !word.empty() && i < 5; ++i) {
        const double started = xwait::now();
        xwait::Child player = xwait::spawn({"paplay", word});
        const double heard = recorder.firstSound(started + 3000, true);
        waitpid(player.pid, nullptr, 0);
        close(player.pidfd);
        if (heard >= 0)
            floor.push_back(heard - started);
        recorder.firstSound(xwait::now() + 500, false);
    }

    xwait::Child program = xwait::spawn(line.program);
    recorder.firstSound(xwait::now() + 2500, false); // the start page is up
    run({"xdotool", "mousemove", std::to_string(aims.nameBox.x()), std::to_string(aims.nameBox.y()),
         "click", "1", "type", "Mia"});
    run({"xdotool", "key", "Return"});
    recorder.firstSound(xwait::now() + 2500, false); // the page's sound is said

    std::vector<double> toWord;
    int silent = 0;
    const int top = aims.answerTop + aims.answerHeight / 2;
    for (int i = 0; i < words; ++i) {
        // Away from the answers (to the name below the letter), then onto one of them.
        run({"xdotool", "mousemove", std::to_string(aims.answerLefts[0]),
             std::to_string(aims.answerTop - 40)});
        recorder.firstSound(xwait::now() + 1200, false);
        const int x = aims.answerLefts[i % 3] + aims.answerWidth / 2;
        const double moved = xwait::now();
        run({"xdotool", "mousemove", std::to_string(x), std::to_string(top)});
        const double heard = recorder.firstSound(moved + 3000, true);
        if (heard < 0)
            ++silent;
        else
            toWord.push_back(heard - moved - platform::PictureBox::RestMs);
        recorder.firstSound(xwait::now() + 1500, false); // the word ends
    }
    xwait::stop(program);
    XCloseDisplay(display);

    const auto spread = bench::spread(toWord);
    const bool met = !toWord.empty() && silent == 0 && spread.max < 100;
    bench::row(
        QStringLiteral("| 8 | speech under Xvfb and PulseAudio (null sink at low latency), "
                       "ms (min / median / max): the mouse at rest on an answer (%1 ms "
                       "after the move) → first sample of its word at the sink (%2 words%3) "
                       "| %4 | paplay from its start to its first sample %5 | – | below 100 "
                       "ms each | %6 |")
            .arg(platform::PictureBox::RestMs)
            .arg(toWord.size())
            .arg(silent ? QStringLiteral(", %1 not heard").arg(silent) : QString())
            .arg(bench::triple(spread, 1))
            .arg(floor.empty() ? QStringLiteral("–") : bench::triple(bench::spread(floor), 1))
            .arg(QString::fromLatin1(bench::verdict(met))));
    return 0;
}
