// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/TiffReader.h"

#include "photo/ExifOrientation.h"
#include "photo/PhotoLoader.h"
#include "photo/ReducedImage.h"

#include <QIODevice>
#include <QLoggingCategory>
#include <QtCore/qfloat16.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tiffio.h>
#include <vector>

namespace {

Q_LOGGING_CATEGORY(tiffLog, "ostrabel.photo.tiff", QtWarningMsg)

QIODevice* deviceOf(thandle_t handle) {
    return static_cast<QIODevice*>(handle);
}

tmsize_t readBytes(thandle_t handle, void* data, tmsize_t size) {
    return tmsize_t(deviceOf(handle)->read(static_cast<char*>(data), qint64(size)));
}

tmsize_t writeNothing(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekTo(thandle_t handle, toff_t offset, int whence) {
    QIODevice* device = deviceOf(handle);
    const qint64 base = whence == SEEK_CUR   ? device->pos()
                        : whence == SEEK_END ? device->size()
                                             : 0;
    const qint64 at = base + qint64(offset);
    return at >= 0 && device->seek(at) ? toff_t(at) : toff_t(-1);
}

int closeNothing(thandle_t) {
    return 0;
}

toff_t sizeOf(thandle_t handle) {
    return toff_t(deviceOf(handle)->size());
}

int mapNothing(thandle_t, void**, toff_t*) {
    return 0;
}

void unmapNothing(thandle_t, void*, toff_t) {
}

int toDebugLog(TIFF*, void*, const char* module, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    qCDebug(tiffLog, "libtiff %s: %s", module != nullptr ? module : "", text);
    return 1; // handled: libtiff's own handler would print it
}

// Samples of any stored kind as 8-bit ones: the high byte of a whole number
// (a signed one moved up by half its range), a floating point one from 0..1.
void toBytes(const uchar* from, uchar* to, qsizetype count, int bits, int format) {
    const auto each = [&](auto convert) {
        for (qsizetype i = 0; i < count; ++i, from += bits / 8)
            to[i] = convert(from);
    };
    const auto fraction = [](double value) {
        return uchar(value > 0 ? value < 1 ? value * 255 + 0.5 : 255 : 0); // NaN is 0
    };
    const uchar flip = format == SAMPLEFORMAT_INT ? 0x80 : 0;
    if (format == SAMPLEFORMAT_IEEEFP) {
        if (bits == 16)
            each([&](const uchar* p) {
                qfloat16 v;
                std::memcpy(&v, p, 2);
                return fraction(v);
            });
        else if (bits == 32)
            each([&](const uchar* p) {
                float v;
                std::memcpy(&v, p, 4);
                return fraction(v);
            });
        else
            each([&](const uchar* p) {
                double v;
                std::memcpy(&v, p, 8);
                return fraction(v);
            });
    } else if (bits == 8) {
        each([&](const uchar* p) { return uchar(*p ^ flip); });
    } else if (bits == 16) {
        each([&](const uchar* p) {
            quint16 v;
            std::memcpy(&v, p, 2);
            return uchar((v >> 8) ^ flip);
        });
    } else {
        each([&](const uchar* p) {
            quint32 v;
            std::memcpy(&v, p, 4);
            return uchar((v >> 24) ^ flip);
        });
    }
}

bool readableSamples(int bits, int format) {
    if (format == SAMPLEFORMAT_IEEEFP)
        return bits == 16 || bits == 32 || bits == 64;
    return (format == SAMPLEFORMAT_UINT || format == SAMPLEFORMAT_INT ||
            format == SAMPLEFORMAT_VOID) &&
           (bits == 8 || bits == 16 || bits == 32);
}

} // namespace

struct TiffReader::Private {
    QIODevice* device = nullptr;
    TIFF* tiff = nullptr;
    QSize size;
    quint16 samples = 1, bits = 1, format = SAMPLEFORMAT_UINT, planar = 1;
    quint16 photometric = 0xFFFF; // none: libtiff then says what is missing
    quint16 orientation = ORIENTATION_TOPLEFT;
    int colours = 0;  // 1 grey, 3 RGB, 4 CMYK read as samples; 0 through libtiff's RGBA
    int alphaAt = -1; // the sample that is alpha
    bool premultiplied = false;
    bool tiled = false;
    quint32 unitWidth = 0, unitHeight = 0; // of a tile, or the image's width and a strip's rows
    qint64 largestRaw = 0;                 // the largest strip or tile as stored
    bool cutShort = false;                 // some strip or tile lies past the file's end
    bool incomplete = false;

    bool open() {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(PhotoLoader::maxDecodingBytes));
        TIFFOpenOptionsSetErrorHandlerExtR(options, toDebugLog, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options, toDebugLog, nullptr);
        // "m": never mapped, so the file's pages do not count as the program's memory.
        tiff = TIFFClientOpenExt("foto", "rm", device, readBytes, writeNothing, seekTo,
                                 closeNothing, sizeOf, mapNothing, unmapNothing, options);
        TIFFOpenOptionsFree(options);
        return tiff != nullptr;
    }

    void readFields() {
        quint32 width = 0, height = 0;
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
        if (width <= quint32(INT_MAX) && height <= quint32(INT_MAX))
            size = QSize(int(width), int(height));
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
        tiled = TIFFIsTiled(tiff) != 0;
        if (tiled) {
            TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &unitWidth);
            TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unitHeight);
        } else {
            unitWidth = width;
            TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &unitHeight);
            unitHeight = std::min(unitHeight, height);
        }
    }

    // Grey, RGB or CMYK with samples of a kind toBytes reads: read as
    // samples; anything else is left to libtiff's RGBA reading.
    void chooseWay() {
        quint16 extraCount = 0;
        quint16* extra = nullptr;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
        quint16 inks = INKSET_CMYK;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
        const int wanted =
            photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ? 1
            : photometric == PHOTOMETRIC_RGB                                               ? 3
            : photometric == PHOTOMETRIC_SEPARATED && inks == INKSET_CMYK                  ? 4
                                                                                           : 0;
        if (wanted > 0 && samples >= wanted && readableSamples(bits, format))
            colours = wanted;
        if (extraCount > 0 && samples > wanted &&
            (extra[0] == EXTRASAMPLE_ASSOCALPHA || extra[0] == EXTRASAMPLE_UNASSALPHA)) {
            alphaAt = samples - extraCount;
            premultiplied = extra[0] == EXTRASAMPLE_ASSOCALPHA;
        }
        if (alphaAt < wanted)
            alphaAt = -1;
    }

    // Where the strips or tiles lie: the largest as stored, and whether the
    // file ends before the last of them does.
    void measureStriles() {
        const quint32 count = tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
        const qint64 end = device->size();
        for (quint32 i = 0; i < count; ++i) {
            const auto bytes = qint64(TIFFGetStrileByteCount(tiff, i));
            largestRaw = std::max(largestRaw, bytes);
            cutShort = cutShort || qint64(TIFFGetStrileOffset(tiff, i)) + bytes > end;
        }
    }

    int planes() const { return planar == PLANARCONFIG_SEPARATE ? samples : 1; }

    // One row of 8-bit samples, every sample of a pixel together, as RGBA.
    void toRgba(const uchar* eight, uchar* rgba) const {
        for (int x = 0; x < size.width(); ++x, eight += samples, rgba += 4) {
            if (colours == 1) {
                const uchar grey =
                    photometric == PHOTOMETRIC_MINISWHITE ? uchar(255 - eight[0]) : eight[0];
                rgba[0] = rgba[1] = rgba[2] = grey;
            } else if (colours == 3) {
                std::memcpy(rgba, eight, 3);
            } else {
                const int white = 255 - eight[3];
                for (int c = 0; c < 3; ++c)
                    rgba[c] = uchar((255 - eight[c]) * white / 255);
            }
            rgba[3] = alphaAt >= 0 ? eight[alphaAt] : 255;
        }
    }

    bool readSamples(ReducedImage& reduced);
    bool readRgba(ReducedImage& reduced);
    bool readTileRow(quint32 top, std::vector<std::vector<uchar>>& band, qint64 rowBytes);
};

// Strips are read a scanline at a time, tiles a row of tiles at a time.
bool TiffReader::Private::readSamples(ReducedImage& reduced) {
    const int planeSamples = planes() > 1 ? 1 : samples;
    const qint64 rowBytes = qint64(size.width()) * planeSamples * bits / 8;
    const qint64 bandRows = tiled ? unitHeight : 1;
    const qint64 bandWidth =
        tiled ? qint64(TIFFTileRowSize64(tiff)) * ((size.width() + unitWidth - 1) / unitWidth)
              : qint64(TIFFScanlineSize64(tiff));
    std::vector<std::vector<uchar>> band(size_t(planes()),
                                         std::vector<uchar>(size_t(bandWidth * bandRows)));
    std::vector<uchar> plane(size_t(size.width())), eight(size_t(size.width()) * samples),
        rgba(size_t(size.width()) * 4);
    for (int y = 0; y < size.height(); ++y) {
        const auto inBand = qint64(tiled ? y % qint64(unitHeight) : 0);
        if (tiled && inBand == 0 && !readTileRow(quint32(y), band, rowBytes))
            return false;
        for (int p = 0; p < planes(); ++p) {
            uchar* row = band[size_t(p)].data() + inBand * rowBytes;
            if (!tiled && TIFFReadScanline(tiff, row, quint32(y), quint16(p)) < 0)
                return false;
            if (planes() == 1) {
                toBytes(row, eight.data(), qsizetype(size.width()) * samples, bits, format);
                break;
            }
            toBytes(row, plane.data(), size.width(), bits, format);
            for (int x = 0; x < size.width(); ++x)
                eight[size_t(x) * samples + size_t(p)] = plane[size_t(x)];
        }
        toRgba(eight.data(), rgba.data());
        reduced.addRow(rgba.data());
    }
    return true;
}

// The tiles whose top is `top`, put side by side: rows of rowBytes each.
bool TiffReader::Private::readTileRow(quint32 top, std::vector<std::vector<uchar>>& band,
                                      qint64 rowBytes) {
    std::vector<uchar> tile(size_t(TIFFTileSize64(tiff)));
    const qint64 tileRowBytes = qint64(TIFFTileRowSize64(tiff));
    for (int p = 0; p < planes(); ++p) {
        for (quint32 left = 0; left < quint32(size.width()); left += unitWidth) {
            if (TIFFReadTile(tiff, tile.data(), left, top, 0, quint16(p)) < 0)
                return false;
            const qint64 at = qint64(left) * rowBytes / size.width();
            const qint64 bytes = std::min(tileRowBytes, rowBytes - at);
            for (quint32 r = 0; r < unitHeight; ++r)
                std::memcpy(band[size_t(p)].data() + r * rowBytes + at,
                            tile.data() + r * tileRowBytes, size_t(bytes));
        }
    }
    return true;
}

// libtiff's own RGBA reading, a strip or a row of tiles at a time, in the
// order the rows are stored: the orientation is applied afterwards.
bool TiffReader::Private::readRgba(ReducedImage& reduced) {
    char message[1024] = {};
    TIFFRGBAImage image;
    if (TIFFRGBAImageBegin(&image, tiff, 1, message) == 0) {
        qCDebug(tiffLog, "libtiff: %s", message);
        return false;
    }
    image.req_orientation = image.orientation;
    std::vector<quint32> raster(size_t(size.width()) * unitHeight);
    bool read = true;
    for (quint32 top = 0; read && top < quint32(size.height()); top += unitHeight) {
        const quint32 rows = std::min(unitHeight, quint32(size.height()) - top);
        image.row_offset = int(top);
        image.col_offset = 0;
        read = TIFFRGBAImageGet(&image, raster.data(), quint32(size.width()), rows) != 0;
        for (quint32 r = 0; read && r < rows; ++r)
            reduced.addRow(
                reinterpret_cast<const uchar*>(raster.data() + size_t(r) * size_t(size.width())));
    }
    TIFFRGBAImageEnd(&image);
    return read;
}

TiffReader::TiffReader(QIODevice* device)
    : d(std::make_unique<Private>()) {
    d->device = device;
}

TiffReader::~TiffReader() {
    if (d->tiff != nullptr)
        TIFFClose(d->tiff);
}

TiffReader::Header TiffReader::readHeader() {
    if (!d->open())
        return Header::Damaged;
    d->readFields();
    if (d->size.isEmpty() || d->unitWidth == 0 || d->unitHeight == 0)
        return Header::Damaged;
    d->chooseWay();
    char message[1024] = {};
    if (d->colours == 0 && TIFFRGBAImageOK(d->tiff, message) == 0) {
        qCDebug(tiffLog, "libtiff: %s", message);
        return Header::Unsupported;
    }
    d->measureStriles();
    return Header::Read;
}

QSize TiffReader::size() const {
    return d->size;
}

QImageIOHandler::Transformations TiffReader::orientation() const {
    return ExifOrientation::fromTag(d->orientation);
}

qint64 TiffReader::decodingBytes() const {
    // Scanlines are decoded one at a time; libtiff's RGBA reading decodes a
    // whole strip.
    const qint64 across = (d->size.width() + d->unitWidth - 1) / d->unitWidth;
    const qint64 unit = d->tiled         ? qint64(TIFFTileSize64(d->tiff)) * (across + 1)
                        : d->colours > 0 ? qint64(TIFFScanlineSize64(d->tiff))
                                         : qint64(TIFFStripSize64(d->tiff));
    const qint64 rows = d->colours > 0 ? 8 : qint64(d->unitHeight) * 4;
    return unit * d->planes() + d->largestRaw + qint64(d->size.width()) * (d->samples + rows);
}

QImage TiffReader::read(const QSize& size) {
    ReducedImage reduced(d->size, size, 4, d->colours > 0 ? d->premultiplied : true);
    if (!reduced.isValid())
        return {};
    if (!(d->colours > 0 ? d->readSamples(reduced) : d->readRgba(reduced))) {
        if (!d->cutShort)
            return {};
        d->incomplete = true;
    }
    return reduced.take();
}

bool TiffReader::incomplete() const {
    return d->incomplete;
}
