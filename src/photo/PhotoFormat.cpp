// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PhotoFormat.h"

const QList<PhotoFormat>& PhotoFormat::all() {
    static const QList<PhotoFormat> formats{
        {QStringLiteral("JPEG"),
         {QStringLiteral("jpg"), QStringLiteral("jpeg")},
         {QStringLiteral("image/jpeg")},
         "jpeg"},
        {QStringLiteral("HEIC"),
         {QStringLiteral("heic"), QStringLiteral("heif")},
         {QStringLiteral("image/heif"), QStringLiteral("image/heic")},
         {}},
        {QStringLiteral("AVIF"), {QStringLiteral("avif")}, {QStringLiteral("image/avif")}, {}},
        {QStringLiteral("PNG"), {QStringLiteral("png")}, {QStringLiteral("image/png")}, "png"},
        {QStringLiteral("WebP"), {QStringLiteral("webp")}, {QStringLiteral("image/webp")}, "webp"},
        {QStringLiteral("TIFF"),
         {QStringLiteral("tif"), QStringLiteral("tiff")},
         {QStringLiteral("image/tiff")},
         "tiff"},
        {QStringLiteral("BMP"), {QStringLiteral("bmp")}, {QStringLiteral("image/bmp")}, "bmp"},
        {QStringLiteral("GIF"), {QStringLiteral("gif")}, {QStringLiteral("image/gif")}, "gif"},
    };
    return formats;
}

bool PhotoFormat::readByQt(const QByteArray& reader) {
    for (const PhotoFormat& format : all())
        if (!format.qtReader.isEmpty() && format.qtReader == reader)
            return true;
    return false;
}

QString PhotoFormat::patterns() {
    QStringList patterns;
    for (const PhotoFormat& format : all())
        for (const QString& suffix : format.suffixes)
            patterns << QStringLiteral("*.") + suffix;
    return patterns.join(QLatin1Char(';'));
}

QStringList PhotoFormat::labels() {
    QStringList labels;
    for (const PhotoFormat& format : all())
        labels << format.label;
    return labels;
}

QStringList PhotoFormat::allMimeTypes() {
    QStringList types;
    for (const PhotoFormat& format : all())
        types << format.mimeTypes;
    return types;
}
