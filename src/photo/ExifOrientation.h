// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImageIOHandler>

class QIODevice;

// The EXIF orientation of a PNG (eXIf chunk) or WebP (EXIF chunk) photo,
// which Qt's readers leave unapplied: a phone's screenshot or a picture saved
// from the web would otherwise lie on its side.
class ExifOrientation {
public:
    // Reads from the device's position, which it then restores.
    static QImageIOHandler::Transformations read(QIODevice* device, const QByteArray& format);
    // The orientation in an EXIF block ("Exif\0\0" optional, then TIFF data).
    static QImageIOHandler::Transformations fromExif(const QByteArray& exif);
    // An orientation tag's value, 1 to 8 (EXIF's and TIFF's are alike).
    static QImageIOHandler::Transformations fromTag(quint32 value);
    // Turns and mirrors the image as the orientation says, as Qt does.
    static QImage apply(const QImage& image, QImageIOHandler::Transformations orientation);
};
