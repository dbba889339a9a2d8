// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Placement.h"

#include "drawing/Twips.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

void placeTwips(QWidget& widget, int top, int left) {
    widget.move(Twips::toPixels(left), Twips::toPixels(top));
}

void placeTwips(QWidget& widget, int top, int left, int width, int height) {
    widget.setGeometry(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                       Twips::toPixels(height));
}

void Placement::apply() const {
    if (width == 0 && height == 0) {
        placeTwips(*control, top, left);
    } else {
        placeTwips(*control, top, left, width, height);
    }
}

void centreOnScreen(QWidget& window, const QScreen* screen) {
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), available);
    place.moveTopLeft(
        QPoint(qMax(place.left(), available.left()), qMax(place.top(), available.top())));
    window.setGeometry(place);
}
