// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/DrawingSurface.h"

#include <QFont>
#include <QPainter>

// The part both real surfaces share: the drawing state and text, lines and
// boxes through a QPainter. A subclass says how twips and points map to its
// device. The painter is never scaled: text sized through a scaled painter
// comes out many times too big, so coordinates and font sizes are converted
// here instead.
class PainterSurface : public DrawingSurface {
public:
    void setFontName(const QString& name) override;
    void setBold(bool bold) override;
    void setFontSize(double points) override;
    void setTextColor(const QColor& color) override;
    void setPosition(double x, double y) override;

    bool printText(const QString& text) override;
    bool printNumber(qint32 number) override;
    bool line(double x1, double y1, double x2, double y2, const QColor& color) override;
    bool box(double x1, double y1, double x2, double y2, const QColor& color) override;
    bool paintPicture(const QImage& picture, double left, double top, double width,
                      double height) override;

protected:
    // pointScale: factor from a font's true point size to the point size the
    // painter's device must be given.
    PainterSurface(QPainter& painter, double pointScale);

    // Device position of a page position in twips.
    virtual QPointF toDevice(double x, double y) const = 0;

    QPainter& m_painter;

private:
    double m_pointScale;
    QFont m_font;
    QColor m_textColor = Qt::black;
    double m_x = 0;
    double m_y = 0;
};
