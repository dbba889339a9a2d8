#include "drawing/PageGeometry.h"

#include "drawing/Twips.h"

namespace {

int dotsOver(int twips) {
    return (twips * PageGeometry::photoDotsPerInch + Twips::perInch - 1) / Twips::perInch;
}

} // namespace

QSize PageGeometry::photoPixels() {
    return QSize(dotsOver(photoArea.width()), dotsOver(photoArea.height()));
}
