#include "support/RecordingSurface.h"

QList<RecordingSurface::Op> RecordingSurface::of(std::initializer_list<Kind> kinds) const {
    QList<Op> result;
    for (const Op& op : ops)
        if (std::find(kinds.begin(), kinds.end(), op.kind) != kinds.end())
            result.append(op);
    return result;
}

bool RecordingSurface::record(Kind kind, QList<double> args, const QString& text,
                              const QColor& color) {
    Op op;
    op.kind = kind;
    op.args = std::move(args);
    op.text = text;
    op.color = color;
    op.fontSize = m_fontSize;
    op.failed = fails && fails(op);
    ops.append(op);
    return !op.failed;
}

void RecordingSurface::setFontName(const QString& name) {
    record(Kind::FontName, {}, name);
}

void RecordingSurface::setBold(bool bold) {
    record(Kind::Bold, {bold ? 1.0 : 0.0});
}

void RecordingSurface::setFontSize(double points) {
    m_fontSize = points;
    record(Kind::FontSize, {points});
}

void RecordingSurface::setTextColor(const QColor& color) {
    m_color = color;
    record(Kind::TextColor, {}, {}, color);
}

void RecordingSurface::setPosition(double x, double y) {
    m_x = x;
    m_y = y;
    record(Kind::Position, {x, y});
}

bool RecordingSurface::printText(const QString& text) {
    return record(Kind::Text, {m_x, m_y}, text, m_color);
}

bool RecordingSurface::printNumber(qint32 number) {
    return record(Kind::Number, {m_x, m_y, double(number)}, numberText(number), m_color);
}

bool RecordingSurface::line(double x1, double y1, double x2, double y2, const QColor& color) {
    return record(Kind::Line, {x1, y1, x2, y2}, {}, color);
}

bool RecordingSurface::box(double x1, double y1, double x2, double y2, const QColor& color) {
    return record(Kind::Box, {x1, y1, x2, y2}, {}, color);
}

bool RecordingSurface::paintPicture(const QImage& picture, double left, double top, double width,
                                    double height) {
    const bool drawn = record(Kind::Picture, {left, top, width, height, double(picture.width()),
                                              double(picture.height())}) &&
                       !picture.isNull();
    ops.last().failed = !drawn;
    return drawn;
}
