// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class LineControl;

// The sign that the page is being printed: under the hourglass the bar sweeps
// once down the miniature page, in 91 steps of 30 twips from 0 to 2700 across
// its full 1935 twips, with a 0.01 s pause after each step in which the window
// keeps handling events. Afterwards the bar is hidden and the pointer is the
// plain arrow.
void ProgressSweep(LineControl& bar);

namespace Sweep {
inline constexpr int width = 1935;
inline constexpr int first = 0;
inline constexpr int last = 2700;
inline constexpr int step = 30;
inline constexpr float pauseSeconds = 0.01f;
} // namespace Sweep
