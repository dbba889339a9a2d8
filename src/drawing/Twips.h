// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The page and both windows are laid out in twips (1/1440 inch). On screen
// and on the picture surface a pixel is 15 twips (96 dots per inch); this is
// the one place where that conversion lives.
namespace Twips {

inline constexpr int perInch = 1440;
inline constexpr int perPixel = 15;

constexpr int toPixels(int twips) {
    return twips / perPixel;
}
constexpr double toPixels(double twips) {
    return twips / perPixel;
}
constexpr int fromPixels(int pixels) {
    return pixels * perPixel;
}

} // namespace Twips
