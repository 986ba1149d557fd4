// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/twips.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

namespace platform {

// A length in twips as screen pixels at the game's scale (platform/scale.h), to the nearest.
int twips(int value);

// A control's place in its window's layout, in twips.
struct Place {
    int left, top, width, height;
    QRect pixels() const { return {twips(left), twips(top), twips(width), twips(height)}; }

    // A box exactly as large as a picture of pixelSize, at a place in twips.
    static constexpr Place sized(int left, int top, QSize pixelSize) {
        return {left, top, pixelSize.width() * TwipsPerPixel, pixelSize.height() * TwipsPerPixel};
    }
};

// Puts a control at its place and size in the window's layout, under its control name
// ("Picture2", "Label3"), which the tests find it by. The place is kept with the control, so that
// it can be laid out again at another scale (layOutAgain).
void place(QWidget* control, const char* name, const Place& where);

// The surface a window's layout is drawn on, designed pageTwips large and drawn at the game's
// scale: centred in its window wherever the window is larger (a maximized window), from the
// window's top-left corner otherwise. Its window's background shows through it.
class PageArea : public QWidget {
public:
    explicit PageArea(QWidget* window);
    void setDesignSize(QSize pageTwips);
    QSize designSize() const { return pageTwips_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centre();
    QSize pageTwips_;
};

// The system colours the designs refer to, as the standard colour scheme has them.
namespace SystemColor {
inline const QColor MenuText{0, 0, 0};              // 7
inline const QColor ActiveTitleText{255, 255, 255}; // 9
inline const QColor SelectionText{255, 255, 255};   // 14
inline const QColor ButtonFace{240, 240, 240};      // 15
inline const QColor ButtonText{0, 0, 0};            // 18
} // namespace SystemColor

// A font a window's layout names, its size in points at 96 dots per inch, drawn at the game's
// scale; where that face is not installed, its substitute stands in.
QFont designFont(const QString& family, double pointSize, bool bold = false, bool italic = false);

// Gives a control a font its window's layout names, as designFont makes it, and keeps the design
// with the control, so that the font follows the scale.
void setDesignFont(QWidget* control, const QString& family, double pointSize, bool bold = false,
                   bool italic = false);

// Gives a window the fixed size its layout names in twips, kept as setDesignFont keeps a font.
void setFixedDesignSize(QWidget* window, QSize sizeTwips);

// Lays a window out again at the game's scale as it is now: its fixed size, every control at its
// place and in its font, every page centred.
void layOutAgain(QWidget* window);

// Maps the faces the windows name (Verdana, MS Sans Serif, Arial, Comic Sans MS,
// Haettenschweiler) to free ones where they are not installed.
void installFontSubstitutes();

// Sets a widget's background (and optionally text) colour.
void setColors(QWidget* widget, const QColor& fore, const QColor& back);

} // namespace platform
