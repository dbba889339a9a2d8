#include "printing/PrinterSurface.h"

#include "drawing/Twips.h"

PrinterSurface::PrinterSurface(QPainter& painter, QPrinter& printer)
    : PainterSurface(painter, 1.0)
    , m_unitsPerTwipX(double(printer.logicalDpiX()) / Twips::perInch)
    , m_unitsPerTwipY(double(printer.logicalDpiY()) / Twips::perInch) {
}

QPointF PrinterSurface::toDevice(double x, double y) const {
    return QPointF(x * m_unitsPerTwipX, y * m_unitsPerTwipY);
}
