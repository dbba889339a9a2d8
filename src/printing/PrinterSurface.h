// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PainterSurface.h"

class QPaintDevice;

// Draws through a painter that is already active on a printer or PDF writer.
// Page twips count from the device's origin: the top-left corner of the
// printable area on a printer that is not in full-page mode. Fonts keep
// their true point size on paper, unless the page does not fit the device:
// then the whole page, fonts included, is scaled down evenly from that corner
// until its outermost lines lie inside, rather than be cut off.
class PrinterSurface : public PainterSurface {
public:
    PrinterSurface(QPainter& painter, const QPaintDevice& device);

    // 1 when the page fits, otherwise less.
    double scale() const { return m_scale; }

protected:
    QPointF toDevice(double x, double y) const override;

private:
    PrinterSurface(QPainter& painter, const QPaintDevice& device, double scale);

    double m_scale;
    double m_unitsPerTwipX;
    double m_unitsPerTwipY;
};
