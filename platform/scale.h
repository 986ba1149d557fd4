// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace platform {

// The one scale the whole game is drawn at: how many screen pixels a pixel of the windows'
// designs (15 twips) takes. It is 1 until the program sets it, once, before its first window.
double scale();
void setScale(double factor);

// The largest scale at which a page designed pageTwips large fits into area (screen pixels).
double fittingScale(QSize pageTwips, QSize area);

// The frame and title bar a window manager draws around a window on the screen; none without a
// window manager.
QMargins windowFrame(const QScreen& screen);

// Sets the game's scale, at start-up, to the largest at which a page designed pageTwips large
// fits a screen (without one, the primary) inside a maximized window: the screen less its panels,
// less the window's frame. Returns where that window's contents lie; empty (and the scale stays
// as it was) without a screen.
QRect fitToScreen(QSize pageTwips, QScreen* screen = nullptr);

// The main window, designed pageTwips large. The scale follows it to whichever screen shows it
// (a laptop's and a beamer's): every window is laid out again at the scale that fits that screen,
// and every secondary window opens centred on it.
void followScreen(QWidget* mainWindow, QSize pageTwips);

// The screen that shows the main window; the primary screen before there is one.
QScreen* gameScreen();

} // namespace platform
