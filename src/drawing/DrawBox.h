// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class DrawingSurface;

// The outline of a rectangle as four black lines: top, right, bottom, left,
// the way the printed page draws every outline. Stops at the first line that
// fails and reports it; otherwise returns true.
bool DrawBox(DrawingSurface& surface, double x1, double y1, double x2, double y2);
