// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrinterSurface.h"

#include "drawing/PageGeometry.h"
#include "drawing/Twips.h"

#include <QPaintDevice>
#include <algorithm>

namespace {

// A line one device unit wide at the page's last twip must still be inside.
double fitting(const QPaintDevice& device) {
    const double widthTwips = device.width() * double(Twips::perInch) / device.logicalDpiX();
    const double heightTwips = device.height() * double(Twips::perInch) / device.logicalDpiY();
    return std::min({1.0, widthTwips / (PageGeometry::inkRightTwips + 1),
                     heightTwips / (PageGeometry::inkBottomTwips + 1)});
}

} // namespace

PrinterSurface::PrinterSurface(QPainter& painter, const QPaintDevice& device)
    : PrinterSurface(painter, device, fitting(device)) {
}

PrinterSurface::PrinterSurface(QPainter& painter, const QPaintDevice& device, double scale)
    : PainterSurface(painter, scale)
    , m_scale(scale)
    , m_unitsPerTwipX(scale * device.logicalDpiX() / Twips::perInch)
    , m_unitsPerTwipY(scale * device.logicalDpiY() / Twips::perInch) {
}

QPointF PrinterSurface::toDevice(double x, double y) const {
    return QPointF(x * m_unitsPerTwipX, y * m_unitsPerTwipY);
}
