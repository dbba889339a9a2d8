// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QSize>

#include <memory>

class QIODevice;

// TIFF photos through libtiff, a strip or a row of tiles at a time, reduced
// as they are decoded: 8, 16 and 32-bit samples, whole or signed numbers or
// floating point (0 to 1), grey, RGB and CMYK, each with its alpha; every
// other kind libtiff turns into colour itself (palettes, YCbCr, CIE L*a*b*,
// 1 to 4 bits). libtiff's own messages go to the debug log, never to the
// person.
class TiffReader {
public:
    // Reads from the device, whose offset 0 is the file's start; the device
    // must outlive the reader.
    explicit TiffReader(QIODevice* device);
    ~TiffReader();
    TiffReader(const TiffReader&) = delete;
    TiffReader& operator=(const TiffReader&) = delete;

    enum class Header { Read, Damaged, Unsupported };
    // The first image's directory.
    Header readHeader();
    // As stored; orientation() turns it upright.
    QSize size() const;
    QImageIOHandler::Transformations orientation() const;
    // What decoding holds beside the reduced photo: a strip or a row of tiles
    // as stored and as compressed, and a few rows.
    qint64 decodingBytes() const;
    // The picture as stored, reduced to `size` (at most size()), on white,
    // Format_RGB32; null when damaged. A file that stops early gives the rows
    // before the end, and incomplete() then says so.
    QImage read(const QSize& size);
    bool incomplete() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
