// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PainterSurface.h"

#include <QImage>
#include <QPainter>

// Draws on a caller-owned picture: 770 x 1100 or 1540 x 2200 pixels, a pixel
// being 15 twips. Fonts get their size at 96 dots per inch whatever the
// picture's own resolution says. The picture is never cleared: its background
// is whatever the caller filled it with.
class PictureSurface : public PainterSurface {
public:
    explicit PictureSurface(QImage& image);

    bool paintPicture(const QImage& picture, double left, double top, double width,
                      double height) override;

protected:
    // Whole pixels, so an outline from x1 to x2 twips covers exactly pixels
    // x1/15 to x2/15 and the photo's edges stay sharp.
    QPointF toDevice(double x, double y) const override;

private:
    // Handed to the base before it is constructed; the base only keeps the
    // reference.
    QPainter m_imagePainter;
};
