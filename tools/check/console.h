// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QList>

namespace lautgarten::check {

// The arguments after the program's name, as the bytes of file names. Elsewhere these are the
// bytes the terminal gave, which need not be UTF-8. Windows hands argv over in its ANSI code page,
// which has no letters for a folder named "Мир" or "Ελληνικά" on a German Windows; there they are
// read from the command line in UTF-16 and given as UTF-8.
QList<QByteArray> commandLine(int argc, char* argv[]);

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
