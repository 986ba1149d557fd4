// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/runtimeerror.h"

#include <QObject>
#include <functional>
#include <new>

namespace platform {

// How a run-time error ends the program: a message box (where someone can see it), the same
// text on standard error, and a non-zero exit.
struct FatalErrorReport {
    static void report(const RuntimeError& error);
    // Headless runs have nobody to close the box, so they only write to standard error.
    static inline bool showMessageBox = true;
    // Tests replace the exit to stay alive; the program itself never returns from report().
    static inline std::function<void(int)> exit;
    // Set from the moment an error is being reported: the clock and the clicks behind the error
    // box must not go on playing a game that has failed.
    static inline bool reporting = false;
};

// Runs one event handler. An error that leaves it never reaches Qt's event loop: it is
// reported and the program ends. While an error is being reported, no handler runs.
template <class Handler> void guarded(Handler&& handler) noexcept {
    if (FatalErrorReport::reporting)
        return;
    try {
        handler();
    } catch (const RuntimeError& error) {
        FatalErrorReport::report(error);
    } catch (const std::bad_alloc&) {
        FatalErrorReport::report(RuntimeError(ErrorNumber::OutOfMemory));
    }
}

// Connects a signal to a handler that runs inside the guard.
template <class Sender, class Signal, class Handler>
void connectGuarded(Sender* sender, Signal signal, QObject* context, Handler handler) {
    QObject::connect(sender, signal, context, [handler] { guarded(handler); });
}

} // namespace platform
