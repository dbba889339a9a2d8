// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PhotoPlacement.h"

#include <QPalette>

class ImageButton;
class QColor;
class QFont;
class QImage;
class QPixmap;
class QRectF;
class QSize;
class QLabel;
class QString;
class QWidget;

// Small pieces both windows build their controls from.
namespace Controls {

void setColor(QWidget& widget, QPalette::ColorRole role, const QColor& color);

// The dark grey of the windows' captions.
void setCaptionColor(QWidget& widget);

// A caption in that grey, sized to its text.
QLabel* caption(QWidget* parent, const char* name, const QString& text);

// A picture that acts as a button, reached with Tab after the other
// controls, with the name and description a screen reader says.
ImageButton* imageButton(QWidget* parent, const char* name, const QString& accessibleName,
                         const QString& description, const QString& picture);

// One of the program's own pictures, sharp on a screen that scales the
// interface: the file itself at a ratio of 1; above 1 the same picture drawn
// at twice the resolution beside it ("a4.gif" has "a4@2x.png"), and above 2
// that one scaled smoothly to the screen's own pixels.
QPixmap sharpPicture(const QString& path, qreal devicePixelRatio);

// A picture reduced smoothly to a control's size, at the screen's own
// resolution, so it is sharp when the interface is scaled.
QPixmap reduced(const QImage& picture, const QSize& size, qreal devicePixelRatio);

// A photo in a control of that size standing for the page's photo area: the
// part the page shows, where the page shows it.
QPixmap placed(const QImage& photo, const QSize& size, PhotoFit fit, const QRectF& crop,
               qreal devicePixelRatio);

// A hidden label that sizes itself to its caption, so a text's width can be
// read back in the label's font.
QLabel* measuringLabel(QWidget* parent, const char* name, const QString& text, const QFont& font);
// A measuring label takes the text its page measured last, sized to it.
void measured(QLabel& label, const QString& text);

// A warning in a message box over the window, under the program's name.
void warn(QWidget* parent, const QString& message);

} // namespace Controls
