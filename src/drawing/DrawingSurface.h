// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QtGlobal>

// What the calendar page needs from whatever it is drawn on. Coordinates are
// twips from the top-left corner of the page, y downward; a surface converts
// them to its own device units. Font name, bold, size, text colour and the
// current position are kept between calls until changed.
//
// Drawing operations report whether they drew; the page decides what a
// failure means.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void setFontName(const QString& name) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setTextColor(const QColor& color) = 0;
    // Top-left corner of the next text line (not its baseline).
    virtual void setPosition(double x, double y) = 0;

    // Character for character, leading blanks included.
    virtual bool printText(const QString& text) = 0;
    // One blank before the digits ("-" in its place for a negative number)
    // and one blank after them.
    virtual bool printNumber(qint32 number) = 0;
    virtual bool line(double x1, double y1, double x2, double y2, const QColor& color) = 0;
    // Unfilled outline of the rectangle with these corners.
    virtual bool box(double x1, double y1, double x2, double y2, const QColor& color) = 0;
    // The whole picture stretched into the rectangle, proportions not kept.
    virtual bool paintPicture(const QImage& picture, double left, double top, double width,
                              double height) = 0;

    // The text printNumber draws.
    static QString numberText(qint32 number) {
        return (number < 0 ? QString() : QStringLiteral(" ")) + QString::number(number) +
               QLatin1Char(' ');
    }
};
