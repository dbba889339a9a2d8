// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PainterSurface.h"

#include <QFontMetricsF>

PainterSurface::PainterSurface(QPainter& painter, double pointScale)
    : m_painter(painter)
    , m_pointScale(pointScale) {
    // The same glyphs on every desktop: Qt leaves hinting out on a scaled
    // screen, and a desktop may ask for more; the page is hinted lightly.
    m_font.setHintingPreference(QFont::PreferVerticalHinting);
}

void PainterSurface::setFontName(const QString& name) {
    m_font.setFamily(name);
}

void PainterSurface::setBold(bool bold) {
    m_font.setBold(bold);
}

void PainterSurface::setFontSize(double points) {
    m_font.setPointSizeF(points * m_pointScale);
}

void PainterSurface::setTextColor(const QColor& color) {
    m_textColor = color;
}

void PainterSurface::setPosition(double x, double y) {
    m_x = x;
    m_y = y;
}

bool PainterSurface::printText(const QString& text) {
    if (!m_painter.isActive())
        return false;
    m_painter.setFont(m_font);
    m_painter.setPen(m_textColor);
    const QPointF topLeft = toDevice(m_x, m_y);
    const qreal ascent = QFontMetricsF(m_painter.font(), m_painter.device()).ascent();
    m_painter.drawText(QPointF(topLeft.x(), topLeft.y() + ascent), text);
    return true;
}

bool PainterSurface::printNumber(qint32 number) {
    return printText(numberText(number));
}

bool PainterSurface::line(double x1, double y1, double x2, double y2, const QColor& color) {
    if (!m_painter.isActive())
        return false;
    m_painter.setPen(QPen(color, 0));
    m_painter.drawLine(toDevice(x1, y1), toDevice(x2, y2));
    return true;
}

bool PainterSurface::box(double x1, double y1, double x2, double y2, const QColor& color) {
    if (!m_painter.isActive())
        return false;
    m_painter.setPen(QPen(color, 0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(toDevice(x1, y1), toDevice(x2, y2)).normalized());
    return true;
}

bool PainterSurface::paintPicture(const QImage& picture, double left, double top, double width,
                                  double height) {
    if (!m_painter.isActive() || picture.isNull())
        return false;
    const QRectF target(toDevice(left, top), toDevice(left + width, top + height));
    if (target.isEmpty())
        return false;
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(target, picture);
    m_painter.restore();
    return true;
}
