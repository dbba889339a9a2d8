// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QScreen;
class QWidget;

// Window layouts are given in twips, top before left as they are listed;
// these turn them into pixels.
void placeTwips(QWidget& widget, int top, int left);
void placeTwips(QWidget& widget, int top, int left, int width, int height);

// One row of a window's table of final places. A width and height of 0 only
// move the control, which keeps the size it gave itself (a label sized to
// its caption).
struct Placement {
    QWidget* control;
    int top;
    int left;
    int width;
    int height;

    void apply() const;
};

// A window centred on the screen's available area, never starting above or
// left of it, so that its title bar and its top-left part can be reached
// even when the window is larger than the screen.
void centreOnScreen(QWidget& window, const QScreen* screen);
