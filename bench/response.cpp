// SPDX-License-Identifier: Apache-2.0
// Response to a child's clicks on the real program under X: a click on an answer picture until
// the feedback window is mapped, and a click on the face until the new page is on the screen.
//
//   bench_response [--pages N] -- program [args...]
//
// The clicks are xdotool's: the button goes down on the target first; the time starts just
// before xdotool is started to let it go up (the release is what the program takes as a click),
// so each figure includes xdotool's own start, which is printed as well.
//
// "Feedback window mapped" is its MapNotify. "New page shown" uses the DAMAGE extension on the
// main window: every time the program draws into the area of the three answer pictures, that
// area of the screen is read back. After the face is clicked the area settles; if it then shows
// the page from before the answer, the answer was wrong and no figure is taken. Otherwise the
// new page was shown at the first drawing after which the area already looked as it finally
// does.

#include "aims.h"
#include "benchsupport.h"
#include "xwait.h"

#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cstring>

namespace {

Display* display;
Window root;
const bench::Aims* aims;
int damageEvent = 0;
xwait::Child program;

[[noreturn]] void die(const char* what) {
    xwait::stop(program);
    xwait::fail(what);
}

void xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> command = {"xdotool"};
    command.insert(command.end(), args.begin(), args.end());
    xwait::Child tool = xwait::spawn(command);
    waitpid(tool.pid, nullptr, 0);
    close(tool.pidfd);
}

// Handles events until the deadline; nothing of them is kept.
void drain(double ms) {
    XEvent event;
    double when;
    const double deadline = xwait::now() + ms;
    while (xwait::nextEvent(display, deadline, event, when)) {
    }
}

struct Click {
    double started = 0;
    xwait::Child tool;
    double toolEnded = -1;

    // Presses the button on the target, then lets it go by a fresh xdotool. The press comes
    // later than a double-click would (Qt's interval is 400 ms): the game takes a press that
    // soon after a window opened or closed for the second half of the click before.
    Click(int x, int y) {
        drain(450);
        xdotool({"mousemove", std::to_string(x), std::to_string(y), "mousedown", "1"});
        drain(30);
        started = xwait::now();
        tool = xwait::spawn({"xdotool", "mouseup", "1"});
    }
    ~Click() {
        waitpid(tool.pid, nullptr, 0);
        close(tool.pidfd);
    }
    void noteToolEnd() {
        if (toolEnded < 0 && xwait::ended(tool))
            toolEnded = xwait::now();
    }
    double toolTook() {
        if (toolEnded < 0) {
            waitpid(tool.pid, nullptr, 0);
            toolEnded = xwait::now();
        }
        return toolEnded - started;
    }
};

// The next window of the program that is mapped, with the time of its MapNotify.
Window waitForMap(double timeoutMs, double& when, Click* click = nullptr) {
    XEvent event;
    const double deadline = xwait::now() + timeoutMs;
    while (xwait::nextEvent(display, deadline, event, when)) {
        if (click)
            click->noteToolEnd();
        if (event.type == MapNotify &&
            xwait::windowPid(display, event.xmap.window) == long(program.pid))
            return event.xmap.window;
    }
    return None;
}

using Image = std::vector<char>;

// The screen under the three answer pictures.
Image capture(const xwait::Place& main) {
    const int width = aims->answerLefts[2] + aims->answerWidth - aims->answerLefts[0];
    XImage* image =
        XGetImage(display, root, main.x + aims->answerLefts[0], main.y + aims->answerTop, width,
                  aims->answerHeight, AllPlanes, ZPixmap);
    if (!image)
        die("cannot read the screen");
    Image bytes(image->data, image->data + image->bytes_per_line * image->height);
    XDestroyImage(image);
    return bytes;
}

bool touchesAnswers(const XRectangle& area) {
    return area.x < aims->answerLefts[2] + aims->answerWidth &&
           area.x + area.width > aims->answerLefts[0] &&
           area.y < aims->answerTop + aims->answerHeight && area.y + area.height > aims->answerTop;
}

} // namespace

int main(int argc, char* argv[]) {
    const xwait::CommandLine line = xwait::commandLine(
        argc, argv, {"--pages"}, "usage: bench_response [--pages N] -- program [args...]");
    const int wanted = int(line.number("--pages", 20));

    display = xwait::openDisplay();
    root = DefaultRootWindow(display);
    const bench::Aims screenAims(QSize(DisplayWidth(display, DefaultScreen(display)),
                                       DisplayHeight(display, DefaultScreen(display))));
    aims = &screenAims;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError))
        xwait::fail("the X server has no DAMAGE extension");

    program = xwait::spawn(line.program);
    double when = 0;
    const Window startPage = waitForMap(30000, when);
    if (startPage == None)
        die("no start page");
    drain(500);
    const xwait::Place start = xwait::placeOf(display, startPage);
    // The game starts by a name and Enter: a click on "Spiel starten" does not start it under a
    // real window system (the start page takes the focus back from the pressed button).
    xdotool({"mousemove", std::to_string(start.x + aims->nameBox.x()),
             std::to_string(start.y + aims->nameBox.y()), "click", "1", "type", "Mia"});
    xdotool({"key", "Return"});
    const double gameStarted = xwait::now();
    const Window mainWindow = waitForMap(10000, when);
    if (mainWindow == None)
        die("no main window after the start page");
    XDamageCreate(display, mainWindow, XDamageReportRawRectangles);
    drain(500);
    const xwait::Place main = xwait::placeOf(display, mainWindow);

    std::vector<double> toFeedback, toPage, toolTimes;
    int wrong = 0, unclear = 0;
    // A game lasts 60 s; the results window must not come between.
    while (int(toPage.size()) < wanted && xwait::now() - gameStarted < 48000) {
        const Image before = capture(main);
        bool pageChanged = false;
        for (int slot = 0; slot < 3 && !pageChanged; ++slot) {
            double mapped = 0;
            Window feedback = None;
            {
                Click click(main.x + aims->answerLefts[slot] + aims->answerWidth / 2,
                            main.y + aims->answerTop + aims->answerHeight / 2);
                feedback = waitForMap(5000, mapped, &click);
                if (feedback == None || xwait::windowName(display, feedback) != "Form2")
                    die("no feedback window after an answer");
                toFeedback.push_back(mapped - click.started);
                toolTimes.push_back(click.toolTook());
            }
            drain(200); // the face paints itself
            const xwait::Place face = xwait::placeOf(display, feedback);

            Click click(face.x + aims->face.x(), face.y + aims->face.y());
            struct Drawn {
                double when;
                Image screen;
            };
            std::vector<Drawn> drawn;
            XEvent event;
            // Settled: nothing drawn into the answers for 300 ms (at most 3 s in all).
            double quietUntil = click.started + 300;
            while (xwait::nextEvent(display, std::min(quietUntil, click.started + 3000), event,
                                    when)) {
                click.noteToolEnd();
                if (event.type != damageEvent + XDamageNotify)
                    continue;
                const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
                if (notify.drawable != mainWindow || !touchesAnswers(notify.area))
                    continue;
                drawn.push_back({when, capture(main)});
                quietUntil = xwait::now() + 300;
            }
            toolTimes.push_back(click.toolTook());
            const Image settled = capture(main);
            if (settled == before) {
                ++wrong;
                continue;
            }
            pageChanged = true;
            const auto shown = std::find_if(drawn.begin(), drawn.end(),
                                            [&](const Drawn& d) { return d.screen == settled; });
            if (shown == drawn.end()) {
                ++unclear;
                continue;
            }
            toPage.push_back(shown->when - click.started);
        }
        if (!pageChanged)
            die("no answer of a page changed it");
        drain(100);
    }
    // The damage object goes with the connection; destroyed by hand it races the window's end.
    xwait::stop(program);

    const auto feedbackSpread = bench::spread(toFeedback);
    const auto pageSpread = bench::spread(toPage);
    const auto toolSpread = bench::spread(toolTimes);
    const bool met = !toPage.empty() && feedbackSpread.max < 50 && pageSpread.max < 50;
    bench::row(QStringLiteral("| 6 | response under Xvfb, ms (min / median / max): answer click "
                              "→ feedback window mapped (%1 clicks); face click → new page on the "
                              "screen (%2 pages; %3 wrong answers left out%4) | %5; %6 | xdotool's "
                              "own run %7 | – | below 50 ms each | %8 |")
                   .arg(toFeedback.size())
                   .arg(toPage.size())
                   .arg(wrong)
                   .arg(unclear ? QStringLiteral(", %1 unclear").arg(unclear) : QString())
                   .arg(bench::triple(feedbackSpread, 1))
                   .arg(bench::triple(pageSpread, 1))
                   .arg(bench::triple(toolSpread, 1))
                   .arg(QString::fromLatin1(bench::verdict(met))));
    XCloseDisplay(display);
    return 0;
}
