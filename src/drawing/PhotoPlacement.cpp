// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PhotoPlacement.h"

#include "drawing/PageGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// The part of the photo chosen, in whole pixels, never empty.
QRect pixelsOf(const QSize& photo, const QRectF& crop) {
    const QRectF part = crop.intersected(PhotoPlacement::wholePhoto);
    if (part.isEmpty())
        return QRect(QPoint(), photo);
    const auto at = [](double fraction, int length) { return int(std::lround(fraction * length)); };
    const int left = at(part.left(), photo.width()), top = at(part.top(), photo.height());
    return QRect(QPoint(left, top),
                 QPoint(std::max(left + 1, at(part.right(), photo.width())) - 1,
                        std::max(top + 1, at(part.bottom(), photo.height())) - 1));
}

// The largest part of `part` with the frame's shape, centred, in whole
// pixels with the same number cut from both sides.
QRect framed(const QRect& part, double frameShape) {
    if (double(part.width()) / part.height() > frameShape) {
        const int width = std::max(1, int(std::lround(part.height() * frameShape)));
        return QRect(part.left() + (part.width() - width) / 2, part.top(), width, part.height());
    }
    const int height = std::max(1, int(std::lround(part.width() / frameShape)));
    return QRect(part.left(), part.top() + (part.height() - height) / 2, part.width(), height);
}

} // namespace

PhotoPlacement PhotoPlacement::of(const QSize& photo, PhotoFit fit, const QRectF& crop,
                                  const QRectF& area) {
    const QRectF frame(PageGeometry::photoArea);
    PhotoPlacement placed{QRect(QPoint(), photo), frame};
    if (!photo.isEmpty() && fit == PhotoFit::Crop) {
        placed.source = framed(pixelsOf(photo, crop), frame.width() / frame.height());
    } else if (!photo.isEmpty() && fit == PhotoFit::Fit) {
        const double photoShape = double(photo.width()) / photo.height();
        const QSizeF size = photoShape > frame.width() / frame.height()
                                ? QSizeF(frame.width(), frame.width() / photoShape)
                                : QSizeF(frame.height() * photoShape, frame.height());
        placed.target = QRectF(frame.center() - QPointF(size.width(), size.height()) / 2, size);
    }
    if (area != frame) {
        const double x = area.width() / frame.width(), y = area.height() / frame.height();
        const QRectF& t = placed.target;
        placed.target =
            QRectF(area.left() + (t.left() - frame.left()) * x,
                   area.top() + (t.top() - frame.top()) * y, t.width() * x, t.height() * y);
    }
    return placed;
}

QImage PhotoPlacement::picture(const QImage& photo, PhotoFit fit, const QSize& most) const {
    QImage part = source == photo.rect() ? photo : photo.copy(source);
    if (part.isNull() || most.isEmpty())
        return part;
    QSize size = part.size().boundedTo(most);
    if (fit == PhotoFit::Fit)
        size = part.size().scaled(size, Qt::KeepAspectRatio);
    return size == part.size() ? part
                               : part.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
