// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PictureSurface.h"

#include "drawing/Twips.h"

#include <cmath>

namespace {

constexpr double screenDpi = 96.0;

double pointScaleFor(const QImage& image) {
    return image.logicalDpiY() > 0 ? screenDpi / image.logicalDpiY() : 1.0;
}

} // namespace

PictureSurface::PictureSurface(QImage& image)
    : PainterSurface(m_imagePainter, pointScaleFor(image))
    , m_imagePainter(&image) {
}

QPointF PictureSurface::toDevice(double x, double y) const {
    return QPointF(std::floor(Twips::toPixels(x)), std::floor(Twips::toPixels(y)));
}

bool PictureSurface::paintPicture(const QImage& picture, double left, double top, double width,
                                  double height) {
    if (!m_painter.isActive() || picture.isNull())
        return false;
    const QRect target =
        QRectF(toDevice(left, top), toDevice(left + width, top + height)).toRect().normalized();
    if (target.isEmpty())
        return false;
    // Scaling the photo to the exact size first averages every source pixel
    // when a large photo shrinks, which a stretched draw would not.
    m_painter.drawImage(target.topLeft(), picture.scaled(target.size(), Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation));
    return true;
}
