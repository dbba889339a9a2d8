// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/ExifOrientation.h"

#include <QIODevice>
#include <QImage>
#include <QTransform>
#include <QtEndian>

namespace {

using Transformations = QImageIOHandler::Transformations;

// The chunk of that type, found by walking the file's chunks.
QByteArray pngChunk(QIODevice* device, const char* type) {
    device->seek(8);
    for (;;) {
        const QByteArray head = device->read(8);
        if (head.size() < 8)
            return {};
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        if (head.mid(4) == type)
            return device->read(qMin<qint64>(length, 64 * 1024));
        if (head.mid(4) == "IEND" || !device->seek(device->pos() + qint64(length) + 4))
            return {};
    }
}

QByteArray webpChunk(QIODevice* device, const char* type) {
    device->seek(12);
    for (;;) {
        const QByteArray head = device->read(8);
        if (head.size() < 8)
            return {};
        const quint32 length = qFromLittleEndian<quint32>(head.constData() + 4);
        if (head.left(4) == type)
            return device->read(qMin<qint64>(length, 64 * 1024));
        if (!device->seek(device->pos() + qint64(length) + (length & 1)))
            return {};
    }
}

} // namespace

Transformations ExifOrientation::read(QIODevice* device, const QByteArray& format) {
    const qint64 start = device->pos();
    QByteArray exif;
    if (format == "png")
        exif = pngChunk(device, "eXIf");
    else if (format == "webp")
        exif = webpChunk(device, "EXIF");
    device->seek(start);
    return fromExif(exif);
}

Transformations ExifOrientation::fromExif(const QByteArray& block) {
    const QByteArray exif = block.startsWith(QByteArray("Exif\0\0", 6)) ? block.mid(6) : block;
    if (exif.size() < 8)
        return QImageIOHandler::TransformationNone;
    const bool little = exif.startsWith("II");
    const auto read16 = [&](qsizetype at) -> quint32 {
        return little ? qFromLittleEndian<quint16>(exif.constData() + at)
                      : qFromBigEndian<quint16>(exif.constData() + at);
    };
    const auto read32 = [&](qsizetype at) -> quint32 {
        return little ? qFromLittleEndian<quint32>(exif.constData() + at)
                      : qFromBigEndian<quint32>(exif.constData() + at);
    };
    const qsizetype directory = read32(4);
    if (directory < 8 || directory + 2 > exif.size())
        return QImageIOHandler::TransformationNone;
    const quint32 entries = read16(directory);
    for (quint32 i = 0; i < entries && directory + 2 + qsizetype(i + 1) * 12 <= exif.size(); ++i) {
        const qsizetype entry = directory + 2 + qsizetype(i) * 12;
        if (read16(entry) == 0x0112)
            return fromTag(read16(entry + 8));
    }
    return QImageIOHandler::TransformationNone;
}

Transformations ExifOrientation::fromTag(quint32 value) {
    // As Qt maps the eight EXIF orientations for a JPEG.
    static const Transformations orientations[] = {
        QImageIOHandler::TransformationNone,
        QImageIOHandler::TransformationMirror,
        QImageIOHandler::TransformationRotate180,
        QImageIOHandler::TransformationFlip,
        QImageIOHandler::TransformationFlipAndRotate90,
        QImageIOHandler::TransformationRotate90,
        QImageIOHandler::TransformationMirrorAndRotate90,
        QImageIOHandler::TransformationRotate270,
    };
    return value >= 1 && value <= 8 ? orientations[value - 1] : QImageIOHandler::TransformationNone;
}

QImage ExifOrientation::apply(const QImage& image, Transformations orientation) {
    if (orientation == QImageIOHandler::TransformationNone)
        return image;
    QImage turned = image.mirrored(orientation.testFlag(QImageIOHandler::TransformationMirror),
                                   orientation.testFlag(QImageIOHandler::TransformationFlip));
    if (orientation.testFlag(QImageIOHandler::TransformationRotate90))
        turned = turned.transformed(QTransform().rotate(90));
    return turned;
}
