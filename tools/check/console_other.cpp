// SPDX-License-Identifier: Apache-2.0
#include "tools/check/console.h"

namespace lautgarten::check {

Console::Console() = default;
Console::~Console() = default;

} // namespace lautgarten::check
