// SPDX-License-Identifier: Apache-2.0
#pragma once

namespace lautgarten::check {

// The checker's console for as long as it runs. On Windows a double-click opens a console that
// would close with the program before anyone read the result, so a console of the checker's own
// waits for Enter at the end; and the console is told that the text is UTF-8 (its code page is
// put back afterwards). Elsewhere the terminal needs nothing (console_other.cpp).
class Console {
public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
};

} // namespace lautgarten::check
