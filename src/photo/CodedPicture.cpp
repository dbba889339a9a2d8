// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/CodedPicture.h"

#include <QList>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace {

// Bits, most significant first. Reading past the end gives zeros and marks
// the reader failed.
class Bits {
public:
    explicit Bits(QByteArrayView bytes)
        : m_bytes(bytes) {}

    quint32 take(int count) {
        quint32 value = 0;
        for (int i = 0; i < count; ++i, ++m_at) {
            if (m_at >> 3 >= m_bytes.size()) {
                m_failed = true;
                return 0;
            }
            value = value << 1 | ((uchar(m_bytes[m_at >> 3]) >> (7 - (m_at & 7))) & 1);
        }
        return value;
    }
    void skip(qint64 count) {
        m_at += count;
        m_failed = m_failed || m_at > m_bytes.size() * 8;
    }
    // Exp-Golomb, as HEVC's ue(v) and AV1's uvlc() both write a number.
    quint32 golomb() {
        int zeros = 0;
        while (take(1) == 0) {
            if (m_failed || ++zeros > 31) {
                m_failed = true;
                return 0;
            }
        }
        return (quint32(1) << zeros) - 1 + take(zeros);
    }
    bool failed() const { return m_failed; }

private:
    QByteArrayView m_bytes;
    qint64 m_at = 0;
    bool m_failed = false;
};

struct Sampling {
    QSize frame;
    int bitDepth = 0;
    int halfSamples = 0;
};

// A NAL unit without its emulation prevention bytes (00 00 03).
QByteArray unescaped(QByteArrayView nal) {
    QByteArray bytes;
    bytes.reserve(nal.size());
    int zeros = 0;
    for (const char c : nal) {
        if (zeros >= 2 && c == 3) {
            zeros = 0;
            continue;
        }
        zeros = c == 0 ? zeros + 1 : 0;
        bytes.append(c);
    }
    return bytes;
}

// A HEVC sequence parameter set, up to the bit depths.
Sampling hevcSequence(QByteArrayView nal) {
    const QByteArray rbsp = unescaped(nal.first(std::min<qsizetype>(nal.size(), 256)));
    Bits bits(rbsp);
    bits.skip(16 + 4); // the NAL header, the video parameter set
    const int subLayers = int(bits.take(3));
    bits.skip(1 + 88 + 8); // temporal nesting, the general profile, tier and level
    std::array<bool, 8> profile{}, level{};
    for (int i = 0; i < subLayers; ++i) {
        profile[i] = bits.take(1) != 0;
        level[i] = bits.take(1) != 0;
    }
    if (subLayers > 0) {
        bits.skip(2 * qint64(8 - subLayers));
    }
    for (int i = 0; i < subLayers; ++i) {
        bits.skip((profile[i] ? 88 : 0) + (level[i] ? 8 : 0));
    }
    bits.golomb(); // its id
    const quint32 chroma = bits.golomb();
    if (chroma == 3) {
        bits.skip(1); // separate colour planes: as many samples as 4:4:4
    }
    const quint32 width = bits.golomb(), height = bits.golomb();
    if (bits.take(1) != 0) {
        for (int i = 0; i < 4; ++i) {
            bits.golomb(); // the conformance window
        }
    }
    const quint32 luma = bits.golomb() + 8, chromaDepth = bits.golomb() + 8;
    if (bits.failed() || chroma > 3 || width > 65535 || height > 65535 || luma > 16 ||
        chromaDepth > 16) {
        return {};
    }
    return {QSize(int(width), int(height)), int(std::max(luma, chroma ? chromaDepth : 0)),
            std::array{2, 3, 4, 6}[chroma]};
}

// What an AV1 sequence header's operating points, timing and decoder
// model take, to be skipped.
void skipAv1Timing(Bits& bits) {
    bool decoderModel = false;
    int delayBits = 0;
    if (bits.take(1) != 0) { // timing info
        bits.skip(64);
        if (bits.take(1) != 0) {
            bits.golomb();
        }
        decoderModel = bits.take(1) != 0;
        if (decoderModel) {
            delayBits = int(bits.take(5)) + 1;
            bits.skip(32 + 5 + 5);
        }
    }
    const bool displayDelay = bits.take(1) != 0;
    const int points = int(bits.take(5)) + 1;
    for (int i = 0; i < points && !bits.failed(); ++i) {
        bits.skip(12);
        if (bits.take(5) > 7) {
            bits.skip(1);
        }
        if (decoderModel && bits.take(1) != 0) {
            bits.skip(2 * delayBits + 1);
        }
        if (displayDelay && bits.take(1) != 0) {
            bits.skip(4);
        }
    }
}

// An AV1 sequence header: its largest frame and its colour configuration.
Sampling av1Sequence(QByteArrayView obu) {
    Bits bits(obu);
    const quint32 profile = bits.take(3);
    bits.skip(1); // still picture
    const bool reduced = bits.take(1) != 0;
    if (reduced) {
        bits.skip(5);
    } else {
        skipAv1Timing(bits);
    }
    const int widthBits = int(bits.take(4)) + 1, heightBits = int(bits.take(4)) + 1;
    const int width = int(bits.take(widthBits)) + 1;
    const QSize frame(width, int(bits.take(heightBits)) + 1);
    if (!reduced && bits.take(1) != 0) {
        bits.skip(4 + 3); // frame ids
    }
    bits.skip(3); // superblock size, filter intra, intra edge filter
    if (!reduced) {
        bits.skip(4); // inter-intra, masked compound, warped motion, dual filter
        const bool orderHint = bits.take(1) != 0;
        bits.skip(orderHint ? 2 : 0);
        const bool screenContent = bits.take(1) != 0 || bits.take(1) != 0;
        if (screenContent && bits.take(1) == 0) {
            bits.skip(1);
        }
        bits.skip(orderHint ? 3 : 0);
    }
    bits.skip(3); // superres, cdef, loop restoration
    const bool high = bits.take(1) != 0;
    const int depth = profile == 2 && high ? (bits.take(1) != 0 ? 12 : 10) : high ? 10 : 8;
    const bool mono = profile != 1 && bits.take(1) != 0;
    quint32 primaries = 2, transfer = 2, matrix = 2;
    if (bits.take(1) != 0) {
        primaries = bits.take(8);
        transfer = bits.take(8);
        matrix = bits.take(8);
    }
    int half = 6;
    if (mono) {
        half = 2;
    } else if (primaries != 1 || transfer != 13 || matrix != 0) { // not sRGB, always 4:4:4
        bits.skip(1);                                             // colour range
        const bool halfWide = profile == 0 || (profile == 2 && (depth != 12 || bits.take(1) != 0));
        const bool halfHigh = halfWide && (profile == 0 || (depth == 12 && bits.take(1) != 0));
        half = halfHigh ? 3 : halfWide ? 4 : 6;
    }
    if (bits.failed() || profile > 2) {
        return {};
    }
    return {frame, depth, half};
}

// Each AV1 sequence header among the OBUs.
void readObus(QByteArrayView data, QList<Sampling>& found) {
    qsizetype at = 0;
    while (at < data.size()) {
        const auto header = uchar(data[at]);
        at += (header & 4) != 0 ? 2 : 1;
        qint64 size = data.size() - at;
        if ((header & 2) != 0) { // a size field, LEB128
            size = 0;
            for (int i = 0;; ++i) {
                if (i == 8 || at >= data.size()) {
                    return;
                }
                const auto byte = uchar(data[at++]);
                size |= qint64(byte & 0x7f) << (7 * i);
                if ((byte & 0x80) == 0) {
                    break;
                }
            }
        }
        if (size < 0 || size > data.size() - at) {
            return;
        }
        if (((header >> 3) & 15) == 1) {
            found.append(av1Sequence(data.sliced(at, size)));
        }
        at += size;
    }
}

// Each HEVC sequence parameter set among NAL units of 4-byte lengths (as
// libheif hands them to the decoder).
void readNals(QByteArrayView data, QList<Sampling>& found) {
    for (qsizetype at = 0; at + 4 <= data.size();) {
        const qint64 size = qFromBigEndian<quint32>(data.data() + at);
        at += 4;
        if (size > data.size() - at) {
            return;
        }
        if (size >= 2 && ((uchar(data[at]) >> 1) & 0x3f) == 33) {
            found.append(hevcSequence(data.sliced(at, size)));
        }
        at += size;
    }
}

// The parameter sets hvcC carries, in its arrays of NAL units.
void readHvcc(QByteArrayView config, QList<Sampling>& found) {
    if (config.size() < 23) {
        return;
    }
    qsizetype at = 23;
    for (int array = uchar(config[22]); array > 0 && at + 3 <= config.size(); --array) {
        int count = qFromBigEndian<quint16>(config.data() + at + 1);
        for (at += 3; count > 0 && at + 2 <= config.size(); --count) {
            const qsizetype size = qFromBigEndian<quint16>(config.data() + at);
            if (size > config.size() - at - 2) {
                return;
            }
            if (size >= 2 && ((uchar(config[at + 2]) >> 1) & 0x3f) == 33) {
                found.append(hevcSequence(config.sliced(at + 2, size)));
            }
            at += 2 + size;
        }
    }
}

} // namespace

CodedPicture CodedPicture::read(const QByteArray& configType, const QByteArray& config,
                                const QByteArray& data) {
    CodedPicture picture;
    QList<Sampling> found;
    if (configType == "hvcC" && config.size() > 18) {
        picture.declaredBitDepth = std::max(config[17] & 7, config[18] & 7) + 8;
        readHvcc(config, found);
        readNals(data, found);
    } else if (configType == "av1C" && config.size() >= 4) {
        const auto bits = uchar(config[2]);
        picture.declaredBitDepth = (bits & 0x40) == 0 ? 8 : (bits & 0x20) != 0 ? 12 : 10;
        readObus(QByteArrayView(config).sliced(4), found);
        readObus(data, found);
    }
    for (const Sampling& sampling : found) {
        if (sampling.bitDepth == 0) {
            return {}; // a parameter set the decoder would read and we could not
        }
        picture.frame = picture.frame.expandedTo(sampling.frame);
        picture.bitDepth = std::max(picture.bitDepth, sampling.bitDepth);
        picture.halfSamples = std::max(picture.halfSamples, sampling.halfSamples);
    }
    return picture;
}
