// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PhotoPlacement.h"

#include <cmath>

PhotoPlacement PhotoPlacement::of(const QSize& photo, const QRectF& area, PhotoFit fit) {
    PhotoPlacement placed{QRect(QPoint(), photo), area};
    if (photo.isEmpty() || area.isEmpty() || fit == PhotoFit::Stretch)
        return placed;
    const double photoShape = double(photo.width()) / photo.height();
    const double areaShape = area.width() / area.height();
    const bool wider = photoShape > areaShape;
    if (fit == PhotoFit::Crop) {
        // Whole pixels, the same number cut from both sides.
        if (wider) {
            const int width = std::max(1, int(std::lround(photo.height() * areaShape)));
            placed.source = QRect((photo.width() - width) / 2, 0, width, photo.height());
        } else {
            const int height = std::max(1, int(std::lround(photo.width() / areaShape)));
            placed.source = QRect(0, (photo.height() - height) / 2, photo.width(), height);
        }
    } else {
        QSizeF size = wider ? QSizeF(area.width(), area.width() / photoShape)
                            : QSizeF(area.height() * photoShape, area.height());
        placed.target = QRectF(area.center() - QPointF(size.width(), size.height()) / 2, size);
    }
    return placed;
}
