// SPDX-License-Identifier: Apache-2.0
#include "platform/form.h"

#include "platform/clickshield.h"
#include "platform/scale.h"

#include <QScreen>

namespace platform {

void Form::showModal() {
    placeOnGameScreen();
    ++modalDepth_;
    ClickShield::windowChanged();
    exec();
    ClickShield::windowChanged();
    --modalDepth_;
    // Unloaded while this loop ran: the loop has returned, now the window can go.
    if (modalDepth_ == 0 && discarded_)
        delete this;
}

void Form::placeOnGameScreen() {
    QScreen* screen = gameScreen();
    if (!screen)
        return;
    if (windowState() & Qt::WindowMaximized) {
        if (QWidget::screen() == screen)
            return;
        // Maximized on another screen, a window stays there: it is moved unmaximized.
        setScreen(screen);
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setGeometry(screen->availableGeometry());
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    setScreen(screen);
    move(screen->geometry().center() - rect().center());
}

void Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opensUnasked_)
        ClickShield::windowAppearedUnasked();
}

// Whatever is pressed once it has gone is meant for what lies beneath.
void Form::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (opensUnasked_)
        ClickShield::windowChanged();
}

void Form::discard() {
    if (modalDepth_ == 0) {
        delete this;
        return;
    }
    discarded_ = true;
    hide(); // ends the modal loop; showModal() deletes the window once it has returned
}

} // namespace platform
