// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// The facts of the page that more than the page itself needs, in twips.
namespace PageGeometry {

// The bitmap page at size factor 1 (770 x 1100 pixels); the factor multiplies it.
inline constexpr int widthTwips = 11550;
inline constexpr int heightTwips = 16500;

// The photo is stretched over this rectangle, whatever its own proportions.
inline constexpr QRect photoArea{900, 1050, 9800, 6600};
// Its thin black frame lies this far outside it on every side.
inline constexpr int frameMargin = 30;

// The outermost lines of the page: the photo frame's right edge and the
// bottom of the last row of month grids.
inline constexpr int inkRightTwips = photoArea.x() + photoArea.width() + frameMargin;
inline constexpr int inkBottomTwips = 15780;

// The resolution photo printing works at: more photo pixels than this many
// per inch of the photo area make neither the paper nor the page any better,
// only the work and the print job bigger.
inline constexpr int photoDotsPerInch = 300;
// Below this many the print looks soft.
inline constexpr int sharpDotsPerInch = 150;

// The photo area in pixels at that resolution, rounded up.
QSize photoPixels(int dotsPerInch = photoDotsPerInch);
// Whether a photo of this size gives sharpDotsPerInch over the photo area.
bool printsSharply(const QSize& photo);

} // namespace PageGeometry
