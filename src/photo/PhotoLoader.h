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
//   print resolution) is decoded reduced (in the DCT domain for a JPEG, row
//   by row for a PNG or TIFF), never below what is needed.
// - Memory stays bounded by one budget, maxDecodingBytes: what the decoder
//   will hold for a photo, the reduced photo included, is worked out from
//   its headers and the decoder's way of reading, and a photo that needs
//   more is refused before any pixel is decoded. Text in a PNG is never
//   unpacked.
// - A photo cut short (a JPEG without its end, a PNG or TIFF whose data
//   stops, a BMP whose pixels stop early) is used as far as it goes, and said
//   to be incomplete: the user sees the damage at once, which helps more than
//   refusing a photo that mostly works. A WebP, HEIC or AVIF cut short is
//   refused as incomplete: their decoders read whole files only.
// - The result is Format_RGB32, 8 bits a channel (16-bit and floating-point
//   samples are reduced to 8); transparent pixels are put on white, so
//   screen, bitmap and paper all show the same picture.
//
// Decode once and hand the same QImage to every place that shows the photo:
// QImage shares its pixels.
class PhotoLoader {
public:
    // The most a photo's decoding may hold at once, the decoded photo and
    // its copies included: a 100-megapixel progressive camera JPEG (300 MB
    // of coefficients) and a 64-megapixel BMP or GIF fit; with the program
    // itself a run stays under half a gigabyte. The one limit every format is
    // held to.
    static constexpr qint64 maxDecodingBytes = qint64(384) << 20;
    // Part of the same budget: the decoded photo never has more pixels than
    // this (128 MB as RGB32), and decodeSize() chooses a smaller step, less
    // sharp, for the extreme aspect ratios that would pass it. A baseline
    // JPEG of any size is accepted when its reduced decode fits, as a
    // 200-megapixel phone photo does.
    static constexpr qint64 maxDecodedPixels = qint64(1) << 25;
    // A PNG or TIFF is decoded whole, row by row, however far it is reduced:
    // one of more pixels than this (five 50-megapixel photos) would take
    // many seconds, and a file of a few megabytes can claim it.
    static constexpr qint64 maxStreamedPixels = qint64(1) << 28;

    enum class Problem {
        None,
        File,        // the name cannot be read as a file: see file
        NotAPicture, // no photo in a format this program reads
        TooLarge,    // over maxDecodingBytes; see size
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
