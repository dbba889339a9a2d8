// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class DrawingSurface;
class PageStyle;
struct PageContent;

// The one routine that draws the calendar page, on paper or in a picture.
class PageComposer {
public:
    // The fixed credit line in the middle of the footer line.
    static const QString creditLine;

    // Draws the page in this order: header line, photo, photo frame, the
    // twelve month blocks, footer line, credit line. A failure up to and
    // including the header line stops the page and returns false; from the
    // photo on a failing step is left out and the rest is still drawn.
    static bool compose(DrawingSurface& surface, const PageContent& content,
                        const PageStyle& style);
};
