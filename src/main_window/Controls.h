#pragma once

#include <QPalette>

class QColor;
class QFont;
class QLabel;
class QString;
class QWidget;

// Small pieces both windows build their controls from.
namespace Controls {

void setColor(QWidget& widget, QPalette::ColorRole role, const QColor& color);

// A hidden label that sizes itself to its caption, so a text's width can be
// read back in the label's font.
QLabel* measuringLabel(QWidget* parent, const char* name, const QString& text, const QFont& font);

} // namespace Controls
