// SPDX-License-Identifier: Apache-2.0
#include "platform/guard.h"

#include "platform/icon.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace platform {

void FatalErrorReport::report(const RuntimeError& error) {
    reporting = true;
    const QByteArray text = error.message().toUtf8();
    std::fprintf(stderr, "Lautgarten: %s\n", text.constData());
    std::fflush(stderr);
    if (showMessageBox) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Lautgarten"), error.message(),
                        QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.setWindowIcon(programIcon());
        box.exec();
    }
    if (exit) {
        exit(1);
        reporting = false;
        return;
    }
    // Other windows may still be inside their own modal loops; end at once rather than unwind them.
    std::_Exit(1);
}

} // namespace platform
