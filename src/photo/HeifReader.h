// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "photo/PhotoLoader.h"

#include <QImage>
#include <QSize>

#include <memory>

class QIODevice;

// HEIF photos (HEIC from phones, AVIF) through libheif: the primary image,
// with the container's own rotation, mirroring and cropping applied. A file
// is judged from its own boxes and coded parameter sets before libheif sees
// it, so that neither a forged header nor thousands of tiles cost more than
// an honest photo; a grid of tiles is decoded a few tiles at a time.
class HeifReader {
public:
    // The most tiles a grid may have: a 200-megapixel phone photo is 768
    // tiles of 512 x 512.
    static constexpr int maxTiles = 1024;

    // Reads from the device (a QFile or QBuffer, random access), from its
    // current position; the device must outlive the reader.
    explicit HeifReader(QIODevice* device);
    ~HeifReader();

    // Whether the device's bytes start a HEIF file (any of its brands, also
    // those libheif does not read: readHeader() says so). Only peeks.
    static bool canRead(QIODevice* device);
    // Reads the boxes and the coded pictures' parameter sets; decodes nothing
    // and leaves libheif out. False, with problem() telling why, when the
    // photo cannot be read.
    bool readHeader();
    // After readHeader(): the primary image's size as it will stand.
    QSize uprightSize() const;
    // After readHeader(): the most bytes reading at `size` (an upright size
    // no larger than uprightSize()) will hold at once.
    qint64 decodingBytes(const QSize& size) const;
    // Decodes the primary image upright, 8 bits a channel, transparent parts
    // on white, reduced smoothly to `size`. Format_RGB32; null on failure.
    QImage read(const QSize& size);

    // Why readHeader() or read() failed.
    PhotoLoader::Problem problem() const;
    // With Problem::TooManyTiles: how many there are.
    int tiles() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
