// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/PngWriter.h"

#include "output/Rgb32.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>
#include <zlib.h>

namespace {

constexpr uchar filterUp = 2;
constexpr int repeatRunRows = 16;
constexpr size_t chunkBytes = size_t(64) * 1024;

void put32(uchar* out, quint32 value) {
    qToBigEndian(value, out);
}

bool writeChunk(QIODevice& device, const char* type, const uchar* data, size_t size) {
    uchar head[8];
    put32(head, quint32(size));
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0, head + 4, 4);
    if (size > 0) { // the crc of no buffer is the start value, not the crc so far
        crc = crc32_z(crc, data, size);
    }
    uchar tail[4];
    put32(tail, quint32(crc));
    const auto bytes = [&device](const uchar* from, size_t count) {
        return device.write(reinterpret_cast<const char*>(from), qint64(count)) == qint64(count);
    };
    return bytes(head, 8) && (size == 0 || bytes(data, size)) && bytes(tail, 4);
}

// The zlib stream, going out as IDAT chunks of one reused buffer.
struct Idat {
    QIODevice& device;
    std::vector<uchar> buffer = std::vector<uchar>(chunkBytes);
    size_t used = 0;
    bool ok = true;
};

void flush(Idat& idat) {
    if (idat.used > 0 && idat.ok) {
        idat.ok = writeChunk(idat.device, "IDAT", idat.buffer.data(), idat.used);
    }
    idat.used = 0;
}

void append(Idat& idat, const uchar* data, size_t size) {
    while (size > 0) {
        if (idat.used == idat.buffer.size()) {
            flush(idat);
        }
        const size_t part = std::min(size, idat.buffer.size() - idat.used);
        std::memcpy(idat.buffer.data() + idat.used, data, part);
        idat.used += part;
        data += part;
        size -= part;
    }
}

// Deflates all the stream's input with the given flush, straight into the
// chunk buffer. Only Z_STREAM_ERROR is a failure: Z_BUF_ERROR merely says a
// call had nothing left to do.
int deflateInto(z_stream& stream, int flushMode, Idat& idat) {
    int result = Z_OK;
    do {
        if (idat.used == idat.buffer.size()) {
            flush(idat);
        }
        stream.next_out = idat.buffer.data() + idat.used;
        stream.avail_out = uInt(idat.buffer.size() - idat.used);
        result = deflate(&stream, flushMode);
        idat.used = idat.buffer.size() - stream.avail_out;
    } while (stream.avail_out == 0 && result != Z_STREAM_ERROR);
    return result;
}

bool startDeflate(z_stream& stream) {
    // Raw deflate: the zlib header and checksum are ours, since repeated
    // rows are spliced in past zlib (see below). Runs of one byte suffice for
    // Up-filtered page rows, mostly zeros, and take less time on a photo than
    // searching further back.
    stream = z_stream{};
    return deflateInit2(&stream, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_RLE) == Z_OK;
}

// Deflate blocks that stand alone and end on a byte boundary, holding `rows`
// Up-filtered rows that equal the row above: the filter byte and zeros.
QByteArray repeatedRows(qsizetype rowBytes, int rows) {
    std::vector<uchar> input(size_t(rowBytes * rows), 0);
    for (int row = 0; row < rows; ++row) {
        input[size_t(rowBytes * row)] = filterUp;
    }
    z_stream stream;
    if (!startDeflate(stream)) {
        return {};
    }
    // Room for the data even if it did not shrink, plus the flush's marker.
    std::vector<uchar> output(deflateBound(&stream, uLong(input.size())) + 16);
    stream.next_in = input.data();
    stream.avail_in = uInt(input.size());
    stream.next_out = output.data();
    stream.avail_out = uInt(output.size());
    const bool done = deflate(&stream, Z_SYNC_FLUSH) == Z_OK && stream.avail_in == 0;
    const QByteArray blocks(reinterpret_cast<const char*>(output.data()),
                            qsizetype(output.size() - stream.avail_out));
    deflateEnd(&stream);
    return done ? blocks : QByteArray();
}

// The row's filter byte, then each byte minus the one above it (zero above
// the first row).
void filterRow(const QImage& image, int y, uchar* row) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    *row++ = filterUp;
    if (y == 0) {
        for (int x = 0; x < image.width(); ++x) {
            *row++ = uchar(qRed(pixels[x]));
            *row++ = uchar(qGreen(pixels[x]));
            *row++ = uchar(qBlue(pixels[x]));
        }
        return;
    }
    const auto* above = reinterpret_cast<const QRgb*>(image.constScanLine(y - 1));
    for (int x = 0; x < image.width(); ++x) {
        *row++ = uchar(qRed(pixels[x]) - qRed(above[x]));
        *row++ = uchar(qGreen(pixels[x]) - qGreen(above[x]));
        *row++ = uchar(qBlue(pixels[x]) - qBlue(above[x]));
    }
}

bool writeSignatureAndHeader(QIODevice& device, int width, int height) {
    uchar header[13];
    put32(header, quint32(width));
    put32(header + 4, quint32(height));
    header[8] = 8;  // bits per sample
    header[9] = 2;  // RGB
    header[10] = 0; // deflate
    header[11] = 0; // a filter byte on each row
    header[12] = 0; // not interlaced
    return device.write("\x89PNG\r\n\x1a\n", 8) == 8 &&
           writeChunk(device, "IHDR", header, sizeof header);
}

// The rows as one zlib stream in IDAT chunks: rows that equal the row above
// are counted and spliced in as ready-made blocks, every other row is
// filtered and deflated.
class RowStream {
public:
    RowStream(QIODevice& device, qsizetype rowBytes)
        : m_idat{device}
        , m_repeat(repeatedRows(rowBytes, 1))
        , m_repeatRun(repeatedRows(rowBytes, repeatRunRows))
        , m_row(size_t(rowBytes), 0) {
        m_row[0] = filterUp;
        m_repeatAdler = adler32_z(adler32(0, nullptr, 0), m_row.data(), m_row.size());
        m_started = !m_repeat.isEmpty() && !m_repeatRun.isEmpty() && startDeflate(m_stream);
        const uchar zlibHeader[2] = {0x78, 0x01}; // deflate, 32 KiB window, fastest
        append(m_idat, zlibHeader, 2);
    }
    ~RowStream() {
        if (m_started)
            deflateEnd(&m_stream);
    }
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    bool ok() const { return m_started && m_ok && m_idat.ok; }

    void repeatRow() {
        ++m_repeats;
        m_adler = adler32_combine(m_adler, m_repeatAdler, z_off_t(m_row.size()));
    }
    void addRow(const QImage& image, int y) {
        m_ok = m_ok && spliceRepeats();
        filterRow(image, y, m_row.data());
        m_adler = adler32_z(m_adler, m_row.data(), m_row.size());
        m_stream.next_in = m_row.data();
        m_stream.avail_in = uInt(m_row.size());
        m_ok = m_ok && deflateInto(m_stream, Z_NO_FLUSH, m_idat) != Z_STREAM_ERROR;
    }
    // Ends the stream with its checksum; whether all of it was written.
    bool finish() {
        m_ok = ok() && spliceRepeats() && deflateInto(m_stream, Z_FINISH, m_idat) == Z_STREAM_END;
        uchar trailer[4];
        put32(trailer, quint32(m_adler));
        append(m_idat, trailer, 4);
        flush(m_idat);
        return ok();
    }

private:
    // A full flush first keeps zlib from referring back across the splice.
    bool spliceRepeats() {
        if (m_repeats == 0 || deflateInto(m_stream, Z_FULL_FLUSH, m_idat) == Z_STREAM_ERROR) {
            return m_repeats == 0;
        }
        for (; m_repeats >= repeatRunRows; m_repeats -= repeatRunRows) {
            append(m_idat, reinterpret_cast<const uchar*>(m_repeatRun.constData()),
                   m_repeatRun.size());
        }
        for (; m_repeats > 0; --m_repeats) {
            append(m_idat, reinterpret_cast<const uchar*>(m_repeat.constData()), m_repeat.size());
        }
        return true;
    }

    Idat m_idat;
    QByteArray m_repeat;
    QByteArray m_repeatRun;
    std::vector<uchar> m_row;
    uLong m_repeatAdler = 0;
    uLong m_adler = adler32(0, nullptr, 0);
    z_stream m_stream{};
    int m_repeats = 0;
    bool m_started = false;
    bool m_ok = true;
};

} // namespace

// Most rows of a calendar page equal the row above (the white photo area,
// the space between lines) and filter to zeros. Deflating those zeros was
// most of the encoder's time, so a run of such rows is written as ready-made
// blocks instead. Each other row goes through one small reused buffer, as in
// the BMP writer, and the output through one chunk buffer.
bool PngWriter::write(const QImage& image, QIODevice& device) {
    if (image.isNull()) {
        return false;
    }
    const QImage rgb = rgb32(image);
    const int width = rgb.width();
    if (!writeSignatureAndHeader(device, width, rgb.height())) {
        return false;
    }
    RowStream rows(device, 1 + qsizetype(width) * 3);
    for (int y = 0; y < rgb.height() && rows.ok(); ++y) {
        if (y > 0 && std::memcmp(rgb.constScanLine(y), rgb.constScanLine(y - 1),
                                 size_t(width) * sizeof(QRgb)) == 0) {
            rows.repeatRow();
        } else {
            rows.addRow(rgb, y);
        }
    }
    return rows.finish() && writeChunk(device, "IEND", nullptr, 0);
}
