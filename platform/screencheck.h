// SPDX-License-Identifier: Apache-2.0
#pragma once

namespace platform {

// Qt ends a program that finds no screen (no DISPLAY, a display that does not exist, Wayland
// without a compositor) with abort(): a core dump and English advice to reinstall. From its
// construction until passed(), a ScreenCheck turns that into a German message on standard error
// that names the cause, and exit code 1. Qt's own messages of that time are held back and shown
// only when the screen was reached.
class ScreenCheck {
public:
    ScreenCheck(int argc, char** argv);
    ~ScreenCheck() { passed(); }
    ScreenCheck(const ScreenCheck&) = delete;
    ScreenCheck& operator=(const ScreenCheck&) = delete;

    // The application has its screen.
    void passed();
};

} // namespace platform
