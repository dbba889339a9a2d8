// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QtGlobal>

class QIODevice;

// What a JPEG's markers tell before any pixel is decoded: its size, how the
// decoder will hold it, and whether the file is whole.
struct JpegLayout {
    bool valid = false; // a frame header of a kind the decoder reads
    QSize size;
    // Sequential with every component in the first scan: the decoder reduces
    // it by 1/2, 1/4 or 1/8 as it reads, holding rows of the reduced picture
    // only. Any other (progressive, multi-scan) it buffers whole first.
    bool onePass = false;
    // What that buffer takes: 2 bytes per component sample at full size,
    // about 3 bytes a pixel at 4:2:0, 6 at 4:4:4, 8 for CMYK.
    qint64 bufferedBytes = 0;
    // The end-of-image marker follows the last scan: the file was not cut off.
    bool complete = false;

    // Walks the markers from the device's position, which it then restores.
    static JpegLayout read(QIODevice* device);
};
