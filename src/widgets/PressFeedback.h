// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Resting places (twips, relative to the container) of the four image
// buttons. A press shows the button 15 twips down and right for 0.2 s and then
// puts it back on these constants, not on wherever it happened to be.
struct ButtonRest {
    int top;
    int left;
};

namespace ButtonRests {
inline constexpr ButtonRest mainOk{3240, 4590};
inline constexpr ButtonRest mainExit{3240, 5340};
inline constexpr ButtonRest previewOk{8955, 5025};
inline constexpr ButtonRest previewExit{8955, 5775};
} // namespace ButtonRests

inline constexpr int pressOffsetTwips = 15;
inline constexpr float pressSeconds = 0.2f;

void PressFeedback(QWidget& button, ButtonRest rest);
