// SPDX-License-Identifier: Apache-2.0
#include "platform/picturebox.h"

#include "platform/clickshield.h"
#include "platform/scale.h"

#include <QMouseEvent>
#include <QPainter>

namespace platform {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    rest_.setSingleShot(true);
    rest_.setInterval(RestMs);
    connect(&rest_, &QTimer::timeout, this, &PictureBox::MouseRest);
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
    // The picture's pixels are the page's: at the game's scale it covers its own size times the
    // scale, filtered smoothly. The painter works in the screen's device pixels, so a high-dpi
    // screen gets the picture sampled at its full resolution, not a blown-up small one.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale(), scale());
    painter.drawPixmap(0, 0, picture_.pixmap);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    rest_.stop();
    pressed_ = event->button() == Qt::LeftButton && !ClickShield::tooSoon(event);
}

// Resting is counted afresh from every move, and only while no button is down.
void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton)
        rest_.start();
    else
        rest_.stop();
}

void PictureBox::enterEvent(QEnterEvent*) {
    rest_.start();
}

void PictureBox::leaveEvent(QEvent*) {
    rest_.stop();
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
