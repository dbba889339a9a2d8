// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>

// How the photo goes into its frame.
enum class PhotoFit {
    Stretch, // over the whole frame, whatever its proportions
    Crop,    // over the whole frame in its own proportions, the overflow cut off
    Fit,     // whole, in its own proportions, centred, with white bands
};

// Which part of a photo shows in the page's photo area, and where. It is the
// one placement that the page, the printer and the window's photo area all
// draw, so each shows what the others get.
struct PhotoPlacement {
    QRect source;  // in the photo's pixels
    QRectF target; // in the units of the area it was placed in

    // The whole photo, the part a cropped photo starts from.
    static constexpr QRectF wholePhoto{0, 0, 1, 1};

    // The photo placed as it goes into the page's photo area, then carried
    // over to `area`, the rectangle that stands for the photo area on the
    // surface at hand. `crop` is the part that fills the frame when cropping,
    // in fractions of the photo's width and height; a part of another shape
    // than the frame loses its overflow evenly.
    static PhotoPlacement of(const QSize& photo, PhotoFit fit, const QRectF& crop,
                             const QRectF& area);

    // The photo's part that shows, at most `most` pixels large (none: as it
    // is): a reduced photo keeps the shape it is drawn in.
    QImage picture(const QImage& photo, PhotoFit fit, const QSize& most = {}) const;
};
