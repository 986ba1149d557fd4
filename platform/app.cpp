#include "platform/app.h"

#include <QCoreApplication>

namespace platform {

AppInfo AppInfo::fromExecutable() {
    return AppInfo{QCoreApplication::applicationDirPath()};
}

} // namespace platform
