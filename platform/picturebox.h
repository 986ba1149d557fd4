// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/picture.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace platform {

// Shows a picture at its own size in the page's units (so at the game's scale) from the top-left
// corner, clipped to the box, never fitted to the box or centred, on the box's background colour.
// A click on the box emits Click; the mouse resting on it for about half a second, without a
// click, emits MouseRest.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(Picture picture);
    const Picture& picture() const { return picture_; }
    void setBackColor(const QColor& color);

    // How long the mouse must rest on a box before it counts as resting there.
    static constexpr int RestMs = 500;

signals:
    void Click();
    void MouseRest();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Picture picture_;
    bool pressed_ = false;
    QTimer rest_;
};

} // namespace platform
