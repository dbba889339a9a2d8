#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// Reads the photo the user picked for the calendar.
//
// - The file is recognised by its content, not its name: JPEG, BMP and GIF
//   are accepted, anything else gives a null image (the caller then keeps
//   its previous photo).
// - A JPEG's EXIF orientation is applied, so a phone photo stands upright.
// - A photo larger than the printed photo area needs is decoded reduced
//   (in the DCT domain for a JPEG), never below the page's photo resolution.
// - Memory stays bounded: headers that claim huge pictures are refused
//   before any pixel is decoded.
// - A truncated JPEG is accepted with its missing part grey, as the decoder
//   leaves it: the user sees the damage in the photo area at once, which is
//   more helpful than a click that silently does nothing.
// - The result is Format_RGB32; transparent pixels (GIF, BMP) are put on
//   white, so screen, bitmap and paper all show the same picture.
//
// Decode once and hand the same QImage to every place that shows the photo:
// QImage shares its pixels.
class PhotoLoader {
public:
    // A picture that must be decoded whole first (BMP, GIF, a progressive
    // JPEG) is refused unread when its header claims more than this, about
    // 134 megapixels: 100-megapixel camera photos fit, a forged 60000 x 60000
    // does not. Below it, a forged progressive JPEG can still make the decoder
    // hold up to 8 bytes a pixel (about 1 GB) for a few seconds.
    static constexpr qint64 maxStoredPixels = qint64(1) << 27;
    // The decoded photo never has more pixels than this (128 MB as RGB32). A
    // baseline JPEG of any size is accepted when its reduced decode fits, as a
    // 200-megapixel phone photo does. Only extreme aspect ratios reach it; the
    // photo may then be less sharp.
    static constexpr qint64 maxDecodedPixels = qint64(1) << 25;

    static QImage load(const QString& path);
    static QImage load(QIODevice* device);

    // The size to decode a picture of the given upright size at: the
    // smallest of 1/8, 1/4 and 1/2 of it (the steps a JPEG decoder reduces by
    // cheaply) that stays sharp over the photo area, else the whole picture,
    // within maxDecodedPixels.
    static QSize decodeSize(const QSize& upright);
};
