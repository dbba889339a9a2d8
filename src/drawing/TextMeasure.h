// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// Width of a right-aligned page text, measured the way a hidden self-sizing
// label of that font measures its caption (QLabel::adjustSize, plain text, no
// margins), so the windows' measuring labels and the page always agree.
class TextMeasure {
public:
    // Width at 96 dots per inch, in twips (15 per pixel).
    static int widthTwips(const QFont& font, const QString& text);
    // How far the baseline lies below the top of a line, at 96 dots per inch.
    static double ascentTwips(const QFont& font);
};
