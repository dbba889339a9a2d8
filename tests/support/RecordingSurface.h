// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/DrawingSurface.h"

#include <QList>
#include <functional>
#include <initializer_list>
#include <tuple>

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
        Kind kind;
        QList<double> args; // twips, points or bold; a print's x, y; a picture's target and size
        QString text;       // font name, or what a print puts on the page
        QColor color;       // line or box colour, or the colour a print uses
        double fontSize;    // the font size a print uses
        bool failed = false;
        bool operator==(const Op& o) const {
            return std::tie(kind, args, text, color, fontSize) ==
                   std::tie(o.kind, o.args, o.text, o.color, o.fontSize);
        }
    };

    QList<Op> ops;
    std::function<bool(const Op&)> fails; // ops for which this is true report failure

    QList<Op> of(std::initializer_list<Kind> kinds) const {
        QList<Op> found;
        for (const Op& op : ops)
            if (std::find(kinds.begin(), kinds.end(), op.kind) != kinds.end())
                found.append(op);
        return found;
    }
    QList<Op> prints() const { return of({Kind::Text, Kind::Number}); }

    void setFontName(const QString& name) override { record(Kind::FontName, {}, name); }
    void setBold(bool bold) override { record(Kind::Bold, {double(bold)}); }
    void setFontSize(double points) override { record(Kind::FontSize, {m_size = points}); }
    void setTextColor(const QColor& color) override {
        record(Kind::TextColor, {}, {}, m_color = color);
    }
    void setPosition(double x, double y) override { record(Kind::Position, {m_x = x, m_y = y}); }
    bool printText(const QString& text) override {
        return record(Kind::Text, {m_x, m_y}, text, m_color);
    }
    bool printNumber(qint32 n) override {
        return record(Kind::Number, {m_x, m_y, double(n)}, numberText(n), m_color);
    }
    bool line(double x1, double y1, double x2, double y2, const QColor& color) override {
        return record(Kind::Line, {x1, y1, x2, y2}, {}, color);
    }
    bool box(double x1, double y1, double x2, double y2, const QColor& color) override {
        return record(Kind::Box, {x1, y1, x2, y2}, {}, color);
    }
    bool paintPicture(const QImage& p, double left, double top, double w, double h) override {
        return record(Kind::Picture, {left, top, w, h, double(p.width()), double(p.height())}) &&
               !p.isNull();
    }

private:
    bool record(Kind kind, QList<double> args, const QString& text = {}, const QColor& color = {}) {
        ops.append({kind, std::move(args), text, color, m_size});
        ops.last().failed = fails && fails(ops.last());
        return !ops.last().failed;
    }

    double m_size = 0, m_x = 0, m_y = 0;
    QColor m_color;
};
