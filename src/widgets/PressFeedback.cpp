// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PressFeedback.h"

#include "drawing/Twips.h"
#include "widgets/Pause.h"

#include <QWidget>

void PressFeedback(QWidget& button, ButtonRest rest) {
    // Top before left, as the pressed look has always been drawn.
    button.move(button.x(), Twips::toPixels(rest.top + pressOffsetTwips));
    button.move(Twips::toPixels(rest.left + pressOffsetTwips), button.y());
    Pause(pressSeconds);
    button.move(button.x(), Twips::toPixels(rest.top));
    button.move(Twips::toPixels(rest.left), button.y());
}
