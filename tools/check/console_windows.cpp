// SPDX-License-Identifier: Apache-2.0
#include "tools/check/console.h"

#include <QString>
#include <cstdio>
#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

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

QList<QByteArray> commandLine(int argc, char* argv[]) {
    QList<QByteArray> arguments;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]).toUtf8());
        LocalFree(wide);
        return arguments;
    }
    // Without the wide command line, argv is still right for every name in the ANSI code page.
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]).toUtf8());
    return arguments;
}

} // namespace lautgarten::check
