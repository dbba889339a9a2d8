// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/LineControl.h"

#include "drawing/Twips.h"

#include <QEvent>
#include <QPainter>

LineControl::LineControl(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(parent->rect());
}

void LineControl::setPoints(int x1, int y1, int x2, int y2) {
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    update();
    Q_EMIT pointsChanged();
}

bool LineControl::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
        if (parentWidget() != nullptr) {
            setGeometry(parentWidget()->rect());
        }
    }
    return QWidget::event(event);
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(Twips::toPixels(m_x1), Twips::toPixels(m_y1), Twips::toPixels(m_x2),
                     Twips::toPixels(m_y2));
}
