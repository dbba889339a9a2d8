// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QIODevice;
class QImage;

// Writes a picture as an uncompressed 24-bit BMP file, bottom-up rows padded
// to four bytes.
class BmpWriter {
public:
    // The file's bytes, into any device; false when the device fails.
    static bool write(const QImage& image, QIODevice& device);
};
