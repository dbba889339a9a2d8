// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QIODevice;
class QImage;

// Writes a picture as an 8-bit RGB PNG file, made for speed over size: rows
// are filtered Up and deflated at the fastest level as runs, which still
// shrinks a mostly white page over thirty times. Alpha is dropped, as in the
// BMP.
class PngWriter {
public:
    // The file's bytes, into any device; false when the device fails.
    static bool write(const QImage& image, QIODevice& device);
};
