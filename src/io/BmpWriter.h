// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/FileError.h"

#include <QString>

class QIODevice;
class QImage;

// Writes a picture as an uncompressed 24-bit BMP file, bottom-up rows padded
// to four bytes.
class BmpWriter {
public:
    // Safely (see SafeSave): on failure returns false and, when error is
    // given, says why.
    static bool write(const QImage& image, const QString& path, FileError* error = nullptr);
    // The file's bytes, into any device; false when the device fails.
    static bool write(const QImage& image, QIODevice& device);
};
