// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/HeifReader.h"

#include <QIODevice>
#include <QtEndian>

#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// libheif checks each side of every image it is given against this before it
// allocates: 16384 admits the largest phone photos (16320 x 12240) and phone
// panoramas, and caps a forged header at 268 megapixels. The caller's own
// fence, decodingBytes(), is the tighter one.
constexpr int kMaxSide = 1 << 14;

// libheif registers its codecs once; they stay for the life of the program.
void initLibheif() {
    struct Library {
        Library() { heif_init(nullptr); }
        ~Library() { heif_deinit(); }
    };
    static const Library library;
}

struct Brand {
    const char fourcc[5];
    heif_compression_format codec; // undefined: any codec may be inside
};

constexpr std::array kBrands{
    Brand{"heic", heif_compression_HEVC},      Brand{"heix", heif_compression_HEVC},
    Brand{"heim", heif_compression_HEVC},      Brand{"heis", heif_compression_HEVC},
    Brand{"hevc", heif_compression_HEVC},      Brand{"hevx", heif_compression_HEVC},
    Brand{"hevm", heif_compression_HEVC},      Brand{"hevs", heif_compression_HEVC},
    Brand{"avif", heif_compression_AV1},       Brand{"avis", heif_compression_AV1},
    Brand{"mif1", heif_compression_undefined}, Brand{"msf1", heif_compression_undefined},
};

bool decodableBrand(const char* fourcc) {
    return std::any_of(kBrands.begin(), kBrands.end(), [fourcc](const Brand& brand) {
        return std::memcmp(brand.fourcc, fourcc, 4) == 0 &&
               (brand.codec == heif_compression_undefined ||
                heif_have_decoder_for_format(brand.codec));
    });
}

// A box's type and where its payload lies within `data`.
struct Box {
    QByteArray type;
    qsizetype payload = 0;
    qsizetype end = 0;
};

// The boxes in data[from, to); stops at the first one that does not fit.
QList<Box> boxesIn(const QByteArray& data, qsizetype from, qsizetype to) {
    QList<Box> boxes;
    while (from + 8 <= to) {
        const auto size = qsizetype(qFromBigEndian<quint32>(data.constData() + from));
        if (size < 8 || size > to - from) {
            break;
        }
        boxes.append({data.mid(from + 4, 4), from + 8, from + size});
        from += size;
    }
    return boxes;
}

// How many samples the codec holds a pixel in, in halves: 2 for monochrome,
// 3 for 4:2:0, 4 for 4:2:2, 6 for 4:4:4. libheif 1.15 does not tell before
// decoding, so this reads the codec configurations among the item properties
// (meta > iprp > ipco > hvcC or av1C); the richest one counts, and 4:4:4 is
// assumed when there is none to read.
int halfSamplesPerPixel(QIODevice* device, qint64 start) {
    constexpr int kUnknown = 6;
    constexpr qint64 kMaxMeta = 4 << 20; // a phone's grid of tiles takes a few KB
    if (!device->seek(start)) {
        return kUnknown;
    }
    QByteArray meta;
    for (int box = 0; box < 8 && meta.isEmpty(); ++box) {
        const QByteArray header = device->read(8);
        if (header.size() < 8) {
            return kUnknown;
        }
        const qint64 size = qFromBigEndian<quint32>(header.constData());
        if (header.mid(4, 4) == "meta" && size > 12 && size <= kMaxMeta) {
            meta = device->read(size - 8);
            if (meta.size() != size - 8) {
                return kUnknown;
            }
        } else if (size < 8 || size - 8 > device->size() - device->pos() ||
                   !device->seek(device->pos() + size - 8)) {
            return kUnknown;
        }
    }
    int richest = 0;
    const auto inside = [&meta](const Box& box, const char* type) {
        QList<Box> found;
        for (const Box& child : boxesIn(meta, box.payload, box.end)) {
            if (child.type == type) {
                found.append(child);
            }
        }
        return found;
    };
    const Box metaBox{"meta", 4, meta.size()}; // a full box: version and flags first
    for (const Box& iprp : inside(metaBox, "iprp")) {
        for (const Box& ipco : inside(iprp, "ipco")) {
            for (const Box& config : boxesIn(meta, ipco.payload, ipco.end)) {
                const auto byte = [&](qsizetype at) { return uchar(meta[config.payload + at]); };
                const qsizetype length = config.end - config.payload;
                if (config.type == "hvcC" && length > 16) {
                    richest = std::max(richest, std::array{2, 3, 4, 6}[byte(16) & 3]);
                } else if (config.type == "av1C" && length > 2) {
                    const uchar bits = byte(2);
                    const bool mono = bits & 0x10, halfX = bits & 0x08, halfY = bits & 0x04;
                    richest = std::max(richest, mono ? 2 : halfX && halfY ? 3 : halfX ? 4 : 6);
                }
            }
        }
    }
    return richest > 0 ? richest : kUnknown;
}

// The device as libheif reads it, with positions counted from `start`.
struct Source {
    QIODevice* device;
    qint64 start;
};

int64_t sourcePosition(void* source) {
    const auto* s = static_cast<Source*>(source);
    return s->device->pos() - s->start;
}

int sourceRead(void* data, size_t size, void* source) {
    const auto* s = static_cast<Source*>(source);
    const auto wanted = qint64(size);
    return wanted >= 0 && s->device->read(static_cast<char*>(data), wanted) == wanted ? 0 : 1;
}

int sourceSeek(int64_t position, void* source) {
    const auto* s = static_cast<Source*>(source);
    // A damaged file points anywhere; QBuffer would warn about beyond its end.
    const bool inside = position >= 0 && position <= s->device->size() - s->start;
    return inside && s->device->seek(s->start + position) ? 0 : 1;
}

// The whole file is there at once: a wish beyond its end is never met.
heif_reader_grow_status sourceWait(int64_t size, void* source) {
    const auto* s = static_cast<Source*>(source);
    return size <= s->device->size() - s->start ? heif_reader_grow_status_size_reached
                                                : heif_reader_grow_status_size_beyond_eof;
}

// libheif keeps a pointer to this for as long as the context lives.
const heif_reader kReader{1, sourcePosition, sourceRead, sourceSeek, sourceWait};

} // namespace

struct HeifReader::Private {
    explicit Private(QIODevice* device)
        : source{device, device ? device->pos() : 0} {}
    ~Private() {
        heif_image_handle_release(handle);
        heif_context_free(context);
    }

    bool fail(const heif_error& error);

    Source source;
    heif_context* context = nullptr;
    heif_image_handle* handle = nullptr;
    int halfSamples = 6;
    qint64 codedBytes = 0; // the file's, an upper bound for the picture's
    bool tooLarge = false;
};

bool HeifReader::Private::fail(const heif_error& error) {
    tooLarge = error.subcode == heif_suberror_Security_limit_exceeded;
    return false;
}

HeifReader::HeifReader(QIODevice* device)
    : d(std::make_unique<Private>(device)) {
    initLibheif();
}

HeifReader::~HeifReader() = default;

bool HeifReader::canRead(QIODevice* device) {
    if (!device || !device->isReadable()) {
        return false;
    }
    initLibheif();
    // ftyp: size, "ftyp", major brand, minor version, compatible brands.
    const QByteArray head = device->peek(256);
    if (head.size() < 16 || head.mid(4, 4) != "ftyp") {
        return false;
    }
    const qsizetype end =
        std::min<qsizetype>(qFromBigEndian<quint32>(head.constData()), head.size());
    if (decodableBrand(head.constData() + 8)) {
        return true;
    }
    for (qsizetype at = 16; at + 4 <= end; at += 4) {
        if (decodableBrand(head.constData() + at)) {
            return true;
        }
    }
    return false;
}

bool HeifReader::readHeader() {
    if (d->context) {
        return d->handle != nullptr;
    }
    if (!d->source.device || !d->source.device->isReadable() || d->source.device->isSequential()) {
        return false;
    }
    d->halfSamples = halfSamplesPerPixel(d->source.device, d->source.start);
    d->codedBytes = std::max<qint64>(0, d->source.device->size() - d->source.start);
    if (!d->source.device->seek(d->source.start)) {
        return false;
    }
    d->context = heif_context_alloc();
    if (!d->context) {
        return false;
    }
    heif_context_set_maximum_image_size_limit(d->context, kMaxSide);
    heif_error error = heif_context_read_from_reader(d->context, &kReader, &d->source, nullptr);
    if (error.code == heif_error_Ok) {
        error = heif_context_get_primary_image_handle(d->context, &d->handle);
    }
    if (error.code != heif_error_Ok) {
        d->handle = nullptr;
        return d->fail(error);
    }
    if (uprightSize().isEmpty()) {
        heif_image_handle_release(d->handle);
        d->handle = nullptr;
        return false;
    }
    return true;
}

QSize HeifReader::uprightSize() const {
    // libheif reports the size after rotation and cropping.
    return d->handle ? QSize(heif_image_handle_get_width(d->handle),
                             heif_image_handle_get_height(d->handle))
                     : QSize();
}

bool HeifReader::hasAlpha() const {
    return d->handle && heif_image_handle_has_alpha_channel(d->handle);
}

qint64 HeifReader::decodingBytes() const {
    if (!d->handle) {
        return 0;
    }
    // Measured with libheif 1.15 (libde265, dav1d) on 3, 12 and 32 megapixel
    // photos. Decoding holds the coded bytes twice, then the codec's frame and
    // block data next to libheif's copy of the planes (and a turned copy for an
    // irot), then a 4:4:4 copy at the coded bit depth next to the RGBA that
    // becomes the QImage. The heap peaks at 7 bytes a pixel for 8-bit 4:2:0,
    // 13 for 10-bit 4:2:0 and 16 for 8-bit 4:4:4 AVIF; the resident size ends
    // up to 5 bytes a pixel higher, as the C library keeps freed blocks of
    // this size for reuse. 10 bytes a pixel plus 2.5 times what a pixel's
    // samples take covers every case measured.
    const QSize size = uprightSize();
    const qint64 pixels = qint64(size.width()) * size.height();
    const int luma = heif_image_handle_get_luma_bits_per_pixel(d->handle);
    const int chroma = heif_image_handle_get_chroma_bits_per_pixel(d->handle);
    const int sampleBytes = luma > 0 && luma <= 8 && chroma <= 8 ? 1 : 2;
    const int halfSamples = d->halfSamples + (hasAlpha() ? 2 : 0);
    const qint64 quarterBytes = 40 + 5 * halfSamples * sampleBytes;
    constexpr qint64 kCodecTables = 4 << 20; // code, threads and tables: 1.5 MB measured
    return pixels * quarterBytes / 4 + 2 * d->codedBytes + kCodecTables;
}

QImage HeifReader::read(const QSize& size) {
    const QSize upright = uprightSize();
    if (!d->handle) {
        return {};
    }
    if (size.isEmpty() || size.width() > upright.width() || size.height() > upright.height()) {
        return {};
    }

    heif_decoding_options* options = heif_decoding_options_alloc();
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    // Four bytes a pixel, alpha 255 when the photo has none: turned into
    // Qt's order in place, so the decoded pixels become the QImage's own.
    const heif_error error = heif_decode_image(d->handle, &decoded, heif_colorspace_RGB,
                                               heif_chroma_interleaved_RGBA, options);
    heif_decoding_options_free(options);
    if (error.code != heif_error_Ok) {
        heif_image_release(decoded);
        d->fail(error);
        return {};
    }
    int stride = 0;
    uchar* bits = heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!bits || QSize(width, height) != upright || stride < width * 4) {
        heif_image_release(decoded);
        return {};
    }
    const bool alpha = hasAlpha();
    const bool premultiplied = alpha && heif_image_is_premultiplied_alpha(decoded);
    for (int y = 0; y < height; ++y) {
        uchar* line = bits + qsizetype(y) * stride;
        for (int x = 0; x < width; ++x) {
            uchar* p = line + 4 * x;
            const QRgb pixel = qRgba(p[0], p[1], p[2], alpha ? p[3] : 0xff);
            std::memcpy(p, &pixel, 4);
        }
    }
    const QImage::Format format = !alpha          ? QImage::Format_RGB32
                                  : premultiplied ? QImage::Format_ARGB32_Premultiplied
                                                  : QImage::Format_ARGB32;
    QImage whole(
        bits, width, height, stride, format,
        [](void* image) { heif_image_release(static_cast<heif_image*>(image)); }, decoded);
    if (whole.isNull()) {
        heif_image_release(decoded);
        return {};
    }
    QImage result = size == upright
                        ? whole
                        : whole.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    whole = QImage();
    if (alpha) {
        result.convertTo(QImage::Format_ARGB32);
    }
    return result;
}

bool HeifReader::tooLarge() const {
    return d->tooLarge;
}
