// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ImageButton.h"

#include <QMouseEvent>

ImageButton::ImageButton(const QString& accessibleName, QWidget* parent)
    : QLabel(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(accessibleName);
    setCursor(Qt::ArrowCursor);
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        Q_EMIT clicked();
    }
}
