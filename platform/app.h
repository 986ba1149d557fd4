// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

namespace platform {

// What the game knows of itself: the folder that holds its picture library, normally the
// folder of the executable. Tests point it at libraries of their own.
struct AppInfo {
    QString Path;

    static AppInfo fromExecutable();
};

} // namespace platform
