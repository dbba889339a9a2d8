// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <memory>

class QIODevice;

// HEIF photos (HEIC from phones, AVIF) through libheif: the primary image,
// with the container's own rotation and mirroring applied.
class HeifReader {
public:
    // Reads from the device (a QFile or QBuffer, random access), from its
    // current position; the device must outlive the reader.
    explicit HeifReader(QIODevice* device);
    ~HeifReader();

    // Whether the device's bytes start a HEIF or AVIF file: an ftyp box whose
    // major or compatible brands libheif decodes (heic, heix, heim, heis, hevc,
    // hevx, mif1, msf1, avif, avis ...). Only peeks.
    static bool canRead(QIODevice* device);
    // Parses the container, no pixel decoding. False when it is no HEIF file
    // libheif can read, it is damaged, or it is too large.
    bool readHeader();
    // After readHeader(): the primary image's size as it will stand, with the
    // container's rotation applied.
    QSize uprightSize() const;
    bool hasAlpha() const;
    // After readHeader(): an estimate of the most bytes decoding will hold at
    // once (the codec's frames, libheif's planes, our 8-bit copy), from the
    // size, bit depth, chroma and alpha, so the caller can refuse a photo
    // before any pixel is decoded.
    qint64 decodingBytes() const;
    // Decodes the primary image upright (rotation and mirroring applied), 8 bits
    // per channel (16/10-bit reduced), and reduces it smoothly to `size` (an
    // upright size no larger than uprightSize()). Format_ARGB32 with alpha,
    // otherwise Format_RGB32. Null on failure.
    QImage read(const QSize& size);
    // Whether a failure was libheif's refusal of a picture larger than it
    // takes (16384 pixels a side), rather than damage.
    bool tooLarge() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
