// SPDX-License-Identifier: Apache-2.0
// Starts a program and waits, listening on the root window, until the program maps its first
// window (MapNotify). Prints the milliseconds from just before the start to that map and, with
// --rss-after, the program's resident memory in kB that many milliseconds after the map.
//
//   bench_mapwait [--rss-after MS] [--timeout S] -- program [args...]

#include "xwait.h"

#include <fstream>

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

} // namespace

int main(int argc, char* argv[]) {
    double rssAfter = -1;
    double timeout = 30;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--rss-after" && first + 1 < argc)
            rssAfter = std::atof(argv[++first]);
        else if (arg == "--timeout" && first + 1 < argc)
            timeout = std::atof(argv[++first]);
        else if (arg == "--") {
            ++first;
            break;
        } else
            break;
    }
    if (first >= argc)
        xwait::fail("usage: bench_mapwait [--rss-after MS] [--timeout S] -- program [args...]");

    Display* display = xwait::openDisplay();
    const std::vector<std::string> program(argv + first, argv + argc);

    const double started = xwait::now();
    xwait::Child child = xwait::spawn(program);
    const double deadline = started + timeout * 1000;
    double mapped = -1;
    XEvent event;
    double when = 0;
    while (mapped < 0 && xwait::nextEvent(display, deadline, event, when)) {
        if (event.type != MapNotify)
            continue;
        // Only a window of the program counts; the check comes after the time was taken.
        const long pid = xwait::windowPid(display, event.xmap.window);
        if (pid == child.pid || pid == -1)
            mapped = when;
    }
    if (mapped < 0) {
        xwait::stop(child);
        xwait::fail("the program mapped no window in time");
    }
    long rss = -1;
    if (rssAfter >= 0) {
        // Let the window paint itself before its memory is read.
        while (xwait::nextEvent(display, mapped + rssAfter, event, when)) {
        }
        rss = residentKb(child.pid);
    }
    xwait::stop(child);
    XCloseDisplay(display);
    if (rss >= 0)
        std::printf("%.2f %ld\n", mapped - started, rss);
    else
        std::printf("%.2f\n", mapped - started);
    return 0;
}
