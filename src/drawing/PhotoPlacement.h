// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>

// How the photo goes into its frame.
enum class PhotoFit {
    Stretch, // over the whole frame, whatever its proportions
    Crop,    // over the whole frame in its own proportions, the overflow cut evenly
    Fit,     // whole, in its own proportions, centred, with white bands
};

// Which part of a photo is shown, and where in its area.
struct PhotoPlacement {
    QRect source;  // in the photo's pixels
    QRectF target; // in the area's units

    static PhotoPlacement of(const QSize& photo, const QRectF& area, PhotoFit fit);
};
