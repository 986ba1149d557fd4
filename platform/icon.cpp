// SPDX-License-Identifier: Apache-2.0
#include "platform/icon.h"

#include "platform/picture.h"

namespace platform {

QIcon programIcon() {
    static const QIcon icon = [] {
        QIcon made;
        // Made of pixmaps: Qt 6.4's QIcon::addFile decodes every file it is given at once. Up to
        // 128 pixels: a window's icon is handed to X at every start, and a desktop takes larger
        // ones from the installed icon theme.
        for (int size : {16, 32, 48, 64, 128})
            made.addPixmap(LoadPicture(QStringLiteral(":/pictures/icon-%1.png").arg(size)).pixmap);
        return made;
    }();
    return icon;
}

} // namespace platform
