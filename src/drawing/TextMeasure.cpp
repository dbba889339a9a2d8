// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/TextMeasure.h"

#include "drawing/Twips.h"

#include <QFontMetrics>
#include <QFontMetricsF>

int TextMeasure::widthTwips(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    // What QLabel does: an empty caption is one average character wide, any
    // other is laid out left-aligned with tabs expanded in a 2000-pixel box.
    if (text.isEmpty())
        return Twips::fromPixels(metrics.averageCharWidth());
    constexpr int labelLayoutSize = 2000;
    const QRect bounds = metrics.boundingRect(0, 0, labelLayoutSize, labelLayoutSize,
                                              Qt::AlignLeft | Qt::TextExpandTabs, text);
    return Twips::fromPixels(bounds.width());
}

double TextMeasure::ascentTwips(const QFont& font) {
    return QFontMetricsF(font).ascent() * Twips::perPixel;
}
