// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/JpegLayout.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Reads a random-access device in chunks.
class Bytes {
public:
    explicit Bytes(QIODevice* device)
        : m_device(device) {}

    bool next(uchar& byte) {
        if (m_at == m_chunk.size() && !refill())
            return false;
        byte = uchar(m_chunk[m_at++]);
        return true;
    }
    bool read16(int& value) {
        uchar high = 0, low = 0;
        if (!next(high) || !next(low))
            return false;
        value = high << 8 | low;
        return true;
    }
    bool skip(qint64 count) {
        const qint64 inChunk = std::min<qint64>(count, m_chunk.size() - m_at);
        m_at += inChunk;
        count -= inChunk;
        return count == 0 ||
               (m_device->seek(m_device->pos() + count) && m_device->pos() <= m_device->size());
    }
    // Moves past the next 0xFF byte; false at the end of the file.
    bool pastNextFF() {
        for (;;) {
            const char* from = m_chunk.constData() + m_at;
            if (const void* ff = std::memchr(from, 0xFF, size_t(m_chunk.size() - m_at))) {
                m_at += static_cast<const char*>(ff) - from + 1;
                return true;
            }
            m_at = m_chunk.size();
            if (!refill())
                return false;
        }
    }

private:
    bool refill() {
        m_chunk = m_device->read(qint64(256) * 1024);
        m_at = 0;
        return !m_chunk.isEmpty();
    }

    QIODevice* m_device;
    QByteArray m_chunk;
    qsizetype m_at = 0;
};

// The next marker, past stray bytes and past entropy-coded data, in which
// 0xFF is followed by a stuffed zero or a restart marker.
bool nextMarker(Bytes& bytes, uchar& marker) {
    for (;;) {
        if (!bytes.pastNextFF())
            return false;
        do {
            if (!bytes.next(marker))
                return false;
        } while (marker == 0xFF);
        if (marker != 0x00 && !(marker >= 0xD0 && marker <= 0xD7))
            return true;
    }
}

bool isFrameHeader(uchar marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isLossless(uchar marker) {
    return marker == 0xC3 || marker == 0xC7 || marker == 0xCB || marker == 0xCF;
}

qint64 roundUp(qint64 value, qint64 step) {
    return (value + step - 1) / step * step;
}

struct Sampling {
    int h, v;
};

// The frame header after its length: the size and each component's sampling.
void readFrame(Bytes& bytes, int& left, QSize& size, std::vector<Sampling>& components) {
    uchar precision = 0, count = 0;
    int height = 0, width = 0;
    bytes.next(precision);
    bytes.read16(height);
    bytes.read16(width);
    bytes.next(count);
    left -= 6;
    size = QSize(width, height);
    for (int c = 0; c < count && left >= 3; ++c, left -= 3) {
        uchar id = 0, sampling = 0, table = 0;
        bytes.next(id);
        bytes.next(sampling);
        bytes.next(table);
        components.push_back({std::max(1, sampling >> 4), std::max(1, sampling & 15)});
    }
}

// What libjpeg's coefficient buffer takes: each component's blocks of 8 x 8
// samples, rounded up to whole MCUs, 64 coefficients of 2 bytes.
qint64 coefficientBytes(const QSize& size, const std::vector<Sampling>& components) {
    qint64 hMax = 1, vMax = 1;
    for (const Sampling& c : components) {
        hMax = std::max<qint64>(hMax, c.h);
        vMax = std::max<qint64>(vMax, c.v);
    }
    qint64 bytes = 0;
    for (const Sampling& c : components) {
        const qint64 across = (qint64(size.width()) * c.h + 8 * hMax - 1) / (8 * hMax);
        const qint64 down = (qint64(size.height()) * c.v + 8 * vMax - 1) / (8 * vMax);
        bytes += roundUp(across, c.h) * roundUp(down, c.v) * 64 * 2;
    }
    return bytes;
}

} // namespace

JpegLayout JpegLayout::read(QIODevice* device) {
    JpegLayout layout;
    const qint64 start = device->pos();
    Bytes bytes(device);
    uchar byte = 0;
    std::vector<Sampling> components;
    bool sequential = false;
    bool firstScan = true;
    uchar marker = 0;
    const bool isJpeg = bytes.next(byte) && byte == 0xFF && bytes.next(byte) && byte == 0xD8;
    while (isJpeg && nextMarker(bytes, marker)) {
        if (marker == 0xD9) {
            layout.complete = true;
            break;
        }
        if (marker == 0x01)
            continue; // a marker without a segment
        int length = 0;
        if (!bytes.read16(length) || length < 2)
            break;
        int left = length - 2;
        if (isFrameHeader(marker) && !layout.valid && left >= 6) {
            layout.valid = !isLossless(marker);
            sequential = marker == 0xC0 || marker == 0xC1 || marker == 0xC9;
            readFrame(bytes, left, layout.size, components);
        } else if (marker == 0xDA && left >= 1 && firstScan) {
            uchar inScan = 0;
            bytes.next(inScan);
            left -= 1;
            layout.onePass = sequential && inScan == components.size();
            firstScan = false;
        }
        if (!bytes.skip(left))
            break;
    }
    layout.bufferedBytes = coefficientBytes(layout.size, components);
    device->seek(start);
    return layout;
}
