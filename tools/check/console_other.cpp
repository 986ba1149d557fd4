// SPDX-License-Identifier: Apache-2.0
#include "tools/check/console.h"

namespace lautgarten::check {

Console::Console() = default;
Console::~Console() = default;

QList<QByteArray> commandLine(int argc, char* argv[]) {
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

} // namespace lautgarten::check
