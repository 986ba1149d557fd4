// SPDX-License-Identifier: Apache-2.0
#include "tools/check/console.h"

#include <cstdio>
#include <windows.h>

namespace lautgarten::check {

namespace {
UINT savedCodePage = 0; // 0: no console
} // namespace

Console::Console() {
    savedCodePage = GetConsoleOutputCP();
    if (savedCodePage != 0)
        SetConsoleOutputCP(CP_UTF8);
}

Console::~Console() {
    std::fflush(stdout);
    std::fflush(stderr);
    // Only the checker is attached: Explorer opened this console for it, and it goes with it.
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) {
        std::fputs("\nZum Schließen die Eingabetaste drücken.\n", stdout);
        std::fflush(stdout);
        std::getchar();
    }
    if (savedCodePage != 0)
        SetConsoleOutputCP(savedCodePage);
}

} // namespace lautgarten::check
