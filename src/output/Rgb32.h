// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The page's pixels as both encoders read them, 32 bits a pixel: a page in
// another format is converted once, and alpha is ignored.
inline QImage rgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(QImage::Format_RGB32);
}
