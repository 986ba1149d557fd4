// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QIcon>

namespace platform {

// The program's icon (a globe), in every size the program carries, made once from the pictures
// that travel inside it decoded.
//
// Each window that shows it sets it on itself, and the application keeps none: a window that
// takes the application's icon has it handed to X twice when it is made (once by Qt's window,
// once more by its widget), and each time is some 100 kB.
QIcon programIcon();

} // namespace platform
