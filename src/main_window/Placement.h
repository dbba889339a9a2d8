#pragma once

class QWidget;

// Window layouts are given in twips, top before left as they are listed;
// these turn them into pixels.
void placeTwips(QWidget& widget, int top, int left);
void placeTwips(QWidget& widget, int top, int left, int width, int height);
