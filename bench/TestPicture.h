// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// A photo-like picture for the benchmarks: smooth ramps with a little texture,
// so an encoder has some detail to keep, as in a camera photo.
inline QImage testPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int grain = ((x * 7) ^ (y * 13)) & 15;
            line[3 * x] = uchar(qint64(x) * 239 / width + grain);
            line[3 * x + 1] = uchar(qint64(y) * 239 / height + grain);
            line[3 * x + 2] = uchar(qint64(x + y) * 239 / (width + height) + grain);
        }
    }
    return image;
}
