#pragma once

#include "drawing/DrawingSurface.h"

#include <QList>
#include <functional>
#include <initializer_list>

// A drawing surface that only writes down what the page asks of it, so tests
// can check the page operation by operation: order, twips, sizes, colours.
class RecordingSurface : public DrawingSurface {
public:
    enum class Kind {
        FontName,
        Bold,
        FontSize,
        TextColor,
        Position,
        Text,
        Number,
        Line,
        Box,
        Picture
    };

    struct Op {
        Kind kind = Kind::Text;
        QList<double> args;  // twips; points; bold as 0/1; a print's x, y (and the number);
                             // a picture's target, then its width and height in pixels
        QString text;        // font name, or the characters a print puts on the page
        QColor color;        // line or box colour, or the text colour a print uses
        double fontSize = 0; // the font size a print uses
        bool failed = false;
    };

    QList<Op> ops;
    // Ops for which this returns true report failure; they are still recorded.
    std::function<bool(const Op&)> fails;

    QList<Op> of(std::initializer_list<Kind> kinds) const;
    QList<Op> of(Kind kind) const { return of({kind}); }
    // Prints of texts and numbers, in order.
    QList<Op> prints() const { return of({Kind::Text, Kind::Number}); }

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

private:
    bool record(Kind kind, QList<double> args, const QString& text = {}, const QColor& color = {});

    double m_fontSize = 0;
    QColor m_color;
    double m_x = 0, m_y = 0;
};
