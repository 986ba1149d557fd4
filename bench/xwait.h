// SPDX-License-Identifier: Apache-2.0
#pragma once

// What the X waiters share: a monotonic clock, starting programs, and reading the windows that
// a program maps. Windows are told apart by the _NET_WM_PID that Qt puts on each of them.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace xwait {

// Milliseconds on the monotonic clock.
inline double now() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(since).count();
}

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::exit(2);
}

struct Child {
    pid_t pid = -1;
    int pidfd = -1; // readable once the process has ended
};

// Starts a program; its standard output goes to output, by default to standard error so that
// only our figures are on standard output.
inline Child spawn(const std::vector<std::string>& args, int output = STDERR_FILENO) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    Child child;
    if (posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        fail("cannot start the program");
    posix_spawn_file_actions_destroy(&actions);
    child.pidfd = int(syscall(SYS_pidfd_open, child.pid, 0));
    return child;
}

// Ends a program we started and collects it.
inline void stop(Child& child) {
    if (child.pid <= 0)
        return;
    kill(child.pid, SIGTERM);
    waitpid(child.pid, nullptr, 0);
    if (child.pidfd >= 0)
        close(child.pidfd);
    child = {};
}

// A waiter's command line: options that take one value each, then "--" and the program to start
// with its own arguments. Anything else prints the usage and ends.
struct CommandLine {
    std::map<std::string, std::string> options;
    std::vector<std::string> program;

    double number(const std::string& name, double otherwise) const {
        const auto found = options.find(name);
        return found == options.end() ? otherwise : std::atof(found->second.c_str());
    }
    std::string text(const std::string& name, const std::string& otherwise) const {
        const auto found = options.find(name);
        return found == options.end() ? otherwise : found->second;
    }
};

inline CommandLine commandLine(int argc, char* argv[], const std::vector<std::string>& known,
                               const char* usage) {
    CommandLine line;
    int at = 1;
    for (; at < argc; ++at) {
        const std::string arg = argv[at];
        if (arg == "--") {
            ++at;
            break;
        }
        bool isKnown = false;
        for (const std::string& name : known)
            isKnown = isKnown || arg == name;
        if (!isKnown || at + 1 >= argc)
            fail(usage);
        line.options[arg] = argv[++at];
    }
    line.program.assign(argv + at, argv + argc);
    if (line.program.empty())
        fail(usage);
    return line;
}

inline bool ended(const Child& child) {
    pollfd fd{child.pidfd, POLLIN, 0};
    return child.pidfd >= 0 && poll(&fd, 1, 0) > 0;
}

// The connection, listening to every window that is mapped or unmapped on the screen.
inline Display* openDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        fail("cannot open the X display");
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    return display;
}

inline long windowPid(Display* display, Window window) {
    static const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

inline std::string windowName(Display* display, Window window) {
    char* name = nullptr;
    std::string result;
    if (XFetchName(display, window, &name) && name)
        result = name;
    if (name)
        XFree(name);
    return result;
}

struct Place {
    int x = 0, y = 0, width = 0, height = 0;
};

// Where a window lies on the screen.
inline Place placeOf(Display* display, Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

// The next X event, or false when the deadline (on the monotonic clock) passes first. The time
// is taken when the event is read off the connection.
inline bool nextEvent(Display* display, double deadline, XEvent& event, double& when) {
    for (;;) {
        if (XPending(display)) {
            XNextEvent(display, &event);
            when = now();
            return true;
        }
        const double left = deadline - now();
        if (left <= 0)
            return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, int(left) + 1);
    }
}

} // namespace xwait
