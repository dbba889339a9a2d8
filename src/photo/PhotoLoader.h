// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileError.h"

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// Reads the photo the user picked for the calendar.
//
// - The file is recognised by its content, not its name: JPEG, HEIC, AVIF,
//   PNG, WebP, TIFF, BMP and GIF (the first frame or page of an animation or
//   a multi-page file, the primary image of a HEIF). Anything else is refused with the reason, and
//   the caller keeps its previous photo.
// - The EXIF orientation is applied (JPEG, PNG, WebP, TIFF), and a HEIF's
//   own rotation and mirroring, so a phone photo stands upright.
// - A photo larger than the caller needs (the page's photo area at its
//   print resolution) is decoded reduced (in the DCT domain for a JPEG),
//   never below what is needed.
// - Memory stays bounded: what the decoder would hold for a photo is worked
//   out from its headers, and a photo that needs more is refused before any
//   pixel is decoded.
// - A photo cut short (a JPEG without its end, a BMP whose pixels stop early)
//   is used as far as it goes, and said to be incomplete: the user sees the
//   damage at once, which helps more than refusing a photo that mostly works.
// - The result is Format_RGB32, 8 bits a channel; transparent pixels are put
//   on white, so screen, bitmap and paper all show the same picture.
//
// Decode once and hand the same QImage to every place that shows the photo:
// QImage shares its pixels.
class PhotoLoader {
public:
    // The most a photo's decoding may hold at once: a 100-megapixel progressive
    // camera JPEG (300 MB of coefficients) and a 64-megapixel BMP or GIF fit;
    // with the program itself a run stays under half a gigabyte.
    static constexpr qint64 maxDecodingBytes = qint64(384) << 20;
    // The decoded photo never has more pixels than this (128 MB as RGB32). A
    // baseline JPEG of any size is accepted when its reduced decode fits, as a
    // 200-megapixel phone photo does. Only extreme aspect ratios reach it; the
    // photo may then be less sharp.
    static constexpr qint64 maxDecodedPixels = qint64(1) << 25;

    enum class Problem {
        None,
        File,        // the name cannot be read as a file: see file
        NotAPicture, // no photo in a format this program reads
        TooLarge,    // see size, neededBytes and limitBytes
        Damaged,     // a known format that cannot be decoded
        Unsupported, // a kind of a known format that no decoder here reads
        Incomplete,  // cut short, where the decoder needs the whole file
        // A HEIF grid of more tiles than HeifReader::maxTiles: see tiles.
        TooManyTiles,
    };

    struct Result {
        QImage photo; // null when refused
        Problem problem = Problem::None;
        FileError file;
        QSize size; // as the photo stands, when its header tells
        qint64 neededBytes = 0;
        qint64 limitBytes = 0;
        // Loaded, but the file ends early: the missing part stays blank.
        bool incomplete = false;
        // TooManyTiles: how many there are.
        int tiles = 0;
    };

    // The path as FileName carries it; enough: the upright size beyond which
    // more pixels make the photo no better where it is used.
    static Result load(const QString& path, const QSize& enough);
    static Result load(QIODevice* device, const QSize& enough);

    // The size to decode a picture of the given upright size at: the
    // smallest of 1/8, 1/4 and 1/2 of it (the steps a JPEG decoder reduces by
    // cheaply) that is still at least `enough`, else the whole picture,
    // within maxDecodedPixels.
    static QSize decodeSize(const QSize& upright, const QSize& enough);
};
