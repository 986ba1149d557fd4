// SPDX-License-Identifier: Apache-2.0
// Starts a program and waits until its first window shows its first frame: the window is mapped
// (MapNotify) and the program has drawn into it (the DAMAGE extension reports it). Prints the
// milliseconds from just before the start to that moment and, with --rss-after, the program's
// resident memory in kB that many milliseconds later. With --until map it stops at the map.
//
//   bench_startwait [--until paint|map] [--rss-after MS] [--timeout S] -- program [args...]
//
// Works with and without a window manager: every window made on the screen is watched from its
// creation on, so the map of a window that a window manager has put into its frame counts too.

#include "xwait.h"

#include <X11/extensions/Xdamage.h>

#include <fstream>
#include <set>

namespace {

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// A window that goes before it can be watched is no error.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const xwait::CommandLine line =
        xwait::commandLine(argc, argv, {"--until", "--rss-after", "--timeout"},
                           "usage: bench_startwait [--until paint|map] [--rss-after MS] "
                           "[--timeout S] -- program [args...]");
    const bool untilPaint = line.text("--until", "paint") == "paint";
    const double rssAfter = line.number("--rss-after", -1);
    const double timeout = line.number("--timeout", 30);

    Display* display = xwait::openDisplay();
    XSetErrorHandler(ignoreErrors);
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError))
        xwait::fail("the X server has no DAMAGE extension");

    const double started = xwait::now();
    xwait::Child child = xwait::spawn(line.program);
    const double deadline = started + timeout * 1000;
    std::set<Window> mapped; // windows of the program that are mapped
    double shown = -1;
    XEvent event;
    double when = 0;
    // Qt names the process on each of its windows; a window manager's frames carry no name.
    const auto isProgram = [&](Window window) {
        return xwait::windowPid(display, window) == long(child.pid);
    };
    while (shown < 0 && xwait::nextEvent(display, deadline, event, when)) {
        if (event.type == CreateNotify) {
            const Window window = event.xcreatewindow.window;
            XSelectInput(display, window, StructureNotifyMask);
            XDamageCreate(display, window, XDamageReportNonEmpty);
            XWindowAttributes attributes{};
            // Mapped before it could be watched: it counts from now.
            if (XGetWindowAttributes(display, window, &attributes) &&
                attributes.map_state == IsViewable && isProgram(window))
                mapped.insert(window);
        } else if (event.type == MapNotify && isProgram(event.xmap.window)) {
            // Only a window of the program counts; the check comes after the time was taken.
            mapped.insert(event.xmap.window);
            if (!untilPaint)
                shown = when;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (mapped.count(notify.drawable))
                shown = when;
            else
                XDamageSubtract(display, notify.damage, None, None);
        }
    }
    if (shown < 0) {
        xwait::stop(child);
        xwait::fail(untilPaint ? "the program painted no window in time"
                               : "the program mapped no window in time");
    }
    long rss = -1;
    if (rssAfter >= 0) {
        // Let the window settle before its memory is read.
        while (xwait::nextEvent(display, shown + rssAfter, event, when)) {
        }
        rss = residentKb(child.pid);
    }
    xwait::stop(child);
    XCloseDisplay(display);
    if (rss >= 0)
        std::printf("%.2f %ld\n", shown - started, rss);
    else
        std::printf("%.2f\n", shown - started);
    return 0;
}
