// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/BmpWriter.h"

#include "output/Rgb32.h"

#include <QIODevice>
#include <QImage>
#include <QtEndian>

namespace {

constexpr int fileHeaderBytes = 14;
constexpr int infoHeaderBytes = 40;
constexpr int headerBytes = fileHeaderBytes + infoHeaderBytes;

void put16(uchar*& out, quint16 value) {
    qToLittleEndian(value, out);
    out += 2;
}

void put32(uchar*& out, quint32 value) {
    qToLittleEndian(value, out);
    out += 4;
}

} // namespace

// Rows are converted into one small reused buffer and written in chunks:
// touching ten fresh megabytes costs more here than the conversion itself.
bool BmpWriter::write(const QImage& image, QIODevice& device) {
    if (image.isNull()) {
        return false;
    }
    const QImage rgb = rgb32(image);
    const int width = rgb.width();
    const int height = rgb.height();
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    const qsizetype pixelBytes = rowBytes * height;

    uchar header[headerBytes];
    uchar* out = header;
    *out++ = 'B';
    *out++ = 'M';
    put32(out, quint32(headerBytes + pixelBytes));
    put32(out, 0);
    put32(out, headerBytes);
    put32(out, infoHeaderBytes);
    put32(out, quint32(width));
    put32(out, quint32(height)); // positive: rows run bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // no compression
    put32(out, quint32(pixelBytes));
    put32(out, 3780); // 96 dots per inch, in dots per metre
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    if (device.write(reinterpret_cast<const char*>(header), headerBytes) != headerBytes) {
        return false;
    }

    const int rowsPerChunk =
        int(qMax<qsizetype>(1, qsizetype(256) * 1024 / qMax<qsizetype>(1, rowBytes)));
    QByteArray chunk(rowBytes * rowsPerChunk, '\0');
    for (int y = height - 1; y >= 0;) {
        auto* row = reinterpret_cast<uchar*>(chunk.data());
        int rows = 0;
        for (; rows < rowsPerChunk && y >= 0; ++rows, --y) {
            const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            uchar* pixel = row;
            for (int x = 0; x < width; ++x) {
                *pixel++ = uchar(qBlue(source[x]));
                *pixel++ = uchar(qGreen(source[x]));
                *pixel++ = uchar(qRed(source[x]));
            }
            row += rowBytes; // the padding bytes stay zero
        }
        const qsizetype bytes = rowBytes * rows;
        if (device.write(chunk.constData(), bytes) != bytes) {
            return false;
        }
    }
    return true;
}
