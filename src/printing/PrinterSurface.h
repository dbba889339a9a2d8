#pragma once

#include "drawing/PainterSurface.h"

#include <QPrinter>

// Draws through a painter that is already active on the printer. Page twips
// are counted from the top-left corner of the printable area (the painter's
// origin when the printer is not in full-page mode), and fonts keep their
// true point size on paper.
class PrinterSurface : public PainterSurface {
public:
    PrinterSurface(QPainter& painter, QPrinter& printer);

protected:
    QPointF toDevice(double x, double y) const override;

private:
    double m_unitsPerTwipX;
    double m_unitsPerTwipY;
};
