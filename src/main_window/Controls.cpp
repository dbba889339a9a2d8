#include "main_window/Controls.h"

#include <QLabel>

void Controls::setColor(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}

QLabel* Controls::measuringLabel(QWidget* parent, const char* name, const QString& text,
                                 const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // a typed "<b>" is text, not markup
    label->setFont(font);
    label->adjustSize();
    label->hide();
    return label;
}
