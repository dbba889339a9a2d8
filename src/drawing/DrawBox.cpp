// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/DrawBox.h"

#include "drawing/DrawingSurface.h"

bool DrawBox(DrawingSurface& surface, double x1, double y1, double x2, double y2) {
    const QColor black(0, 0, 0);
    return surface.line(x1, y1, x2, y1, black) && surface.line(x2, y1, x2, y2, black) &&
           surface.line(x2, y2, x1, y2, black) && surface.line(x1, y2, x1, y1, black);
}
