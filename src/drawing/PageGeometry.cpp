// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageGeometry.h"

#include "drawing/Twips.h"

namespace {

int dotsOver(int twips, int dotsPerInch) {
    return (twips * dotsPerInch + Twips::perInch - 1) / Twips::perInch;
}

} // namespace

bool PageGeometry::printsSharply(const QSize& photo) {
    const QSize sharp = photoPixels(sharpDotsPerInch);
    return photo.width() >= sharp.width() && photo.height() >= sharp.height();
}

QSize PageGeometry::photoPixels(int dotsPerInch) {
    return QSize(dotsOver(photoArea.width(), dotsPerInch),
                 dotsOver(photoArea.height(), dotsPerInch));
}
