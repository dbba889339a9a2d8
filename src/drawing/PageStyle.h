// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <optional>

// The few ways the bitmap page and the printed page differ; everything else
// about the page is the same on both.
class PageStyle {
public:
    // The bitmap page; sizeFactor 1 gives 770 x 1100 pixels, 2 gives
    // 1540 x 2200.
    static PageStyle bitmap(int sizeFactor);
    static PageStyle printed();

    // The page's one typeface, Arial bold, at a size in points (at 96 dots
    // per inch, as the page is measured).
    static QFont font(double points);

    // Multiplies every coordinate and font size of the page.
    int scale = 1;
    // Where the right header and right footer texts end, before scaling.
    int headerRightEdge = 10695;
    int footerRightEdge = 10695;
    // Day numbers outside the weekend columns.
    QColor dayNumberColor;
    // Font size set for the footer line and the credit line. Without it they
    // keep the size of the day numbers, as they keep their red colour.
    std::optional<double> footerFontSize;
    // Draw every outline as four separate lines instead of a box.
    bool outlinesAsLines = false;
    // The fonts in which the right header and right footer texts are measured
    // (the hidden measuring labels of the window that draws this page).
    QFont headerMeasureFont;
    QFont footerMeasureFont;
    // The most photo pixels worth drawing: on paper more than 300 dots per inch
    // of the frame make the print no better, only the job bigger. None: the
    // photo as it is.
    QSize mostPhotoPixels;

private:
    PageStyle() = default;
};
