// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageStyle.h"

#include "drawing/PageGeometry.h"

QFont PageStyle::font(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSizeF(points);
    font.setHintingPreference(QFont::PreferVerticalHinting); // as the page draws it
    return font;
}

PageStyle PageStyle::bitmap(int sizeFactor) {
    PageStyle style;
    style.scale = sizeFactor;
    style.headerRightEdge = 10815;
    style.footerRightEdge = 10785;
    style.dayNumberColor = QColor(60, 60, 60);
    style.outlinesAsLines = false;
    style.headerMeasureFont = font(20.25);
    style.footerMeasureFont = font(8.25);
    return style;
}

PageStyle PageStyle::printed() {
    PageStyle style;
    style.scale = 1;
    style.headerRightEdge = 10695;
    style.footerRightEdge = 10695;
    style.dayNumberColor = QColor(100, 100, 100);
    style.footerFontSize = 9;
    style.outlinesAsLines = true;
    style.headerMeasureFont = font(20.25);
    style.footerMeasureFont = font(9);
    style.mostPhotoPixels = PageGeometry::photoPixels();
    return style;
}
