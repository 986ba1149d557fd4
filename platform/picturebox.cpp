// SPDX-License-Identifier: Apache-2.0
#include "platform/picturebox.h"

#include "platform/clickshield.h"

#include <QMouseEvent>
#include <QPainter>

namespace platform {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(Picture picture) {
    picture_ = std::move(picture);
    update();
}

void PictureBox::setBackColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_.pixmap);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton && !ClickShield::tooSoon(event);
}

// A click is a press and a release of the left button, both on the box.
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

} // namespace platform
