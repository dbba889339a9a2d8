// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/HeifReader.h"

#include "photo/CodedPicture.h"
#include "photo/HeifMeta.h"

#include <QIODevice>
#include <QTransform>
#include <QtEndian>

#include <libheif/heif.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using Problem = PhotoLoader::Problem;

// libheif checks each side of every image it is given against this before it
// allocates, and so do we: 16384 admits the largest phone photos (16320 x
// 12240) and phone panoramas. Our own fence, decodingBytes(), is the
// tighter one.
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
    bool readable;
};

// The brands of HEIF files. libheif 1.15 reads a file one of whose
// compatible brands is heic, heix, mif1 or avif; it refuses one that names
// only image sequences (msf1, hevc, hevx, avis), layered HEVC (heim, heis,
// hevm, hevs), the second edition's mif2, or VVC and AVC pictures.
constexpr std::array kBrands{
    Brand{"heic", true},  Brand{"heix", true},  Brand{"mif1", true},  Brand{"avif", true},
    Brand{"heim", false}, Brand{"heis", false}, Brand{"hevc", false}, Brand{"hevx", false},
    Brand{"hevm", false}, Brand{"hevs", false}, Brand{"msf1", false}, Brand{"avis", false},
    Brand{"mif2", false}, Brand{"vvic", false}, Brand{"avci", false},
};

const Brand* brand(const char* fourcc) {
    const auto* found = std::find_if(kBrands.begin(), kBrands.end(), [fourcc](const Brand& b) {
        return std::memcmp(b.fourcc, fourcc, 4) == 0;
    });
    return found != kBrands.end() ? found : nullptr;
}

// Whether libheif reads the file: by its compatible brands alone.
bool readableBrand(const HeifMeta& meta) {
    const QList<QByteArray>& brands = meta.brands();
    return std::any_of(brands.begin() + std::min<qsizetype>(1, brands.size()), brands.end(),
                       [](const QByteArray& fourcc) {
                           const Brand* known = brand(fourcc.constData());
                           return known && known->readable;
                       });
}

// Tiles decoded at once, each on a thread of its own, as libheif does.
size_t threadCount() {
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
}

qint64 pixels(const QSize& size) {
    return qint64(size.width()) * size.height();
}

QSize reduced(const QSize& size, int step) {
    return {int((qint64(size.width()) + step - 1) / step),
            int((qint64(size.height()) + step - 1) / step)};
}

// dav1d starts a thread for each CPU the decoding thread may run on, and
// with more than one it decodes in frame-parallel passes that hold the
// coefficients of the whole frame: 2 bytes a pixel more at 8 bits (100 MB for
// a 50-megapixel AVIF), with no gain in speed for a single picture. So an
// AVIF picture is decoded on one CPU: the one the thread is on.
class OneCpu {
public:
    OneCpu() {
        cpu_set_t one;
        CPU_ZERO(&one);
        const int cpu = sched_getcpu();
        CPU_SET(std::max(cpu, 0), &one);
        m_pinned = cpu >= 0 &&
                   pthread_getaffinity_np(pthread_self(), sizeof m_before, &m_before) == 0 &&
                   pthread_setaffinity_np(pthread_self(), sizeof one, &one) == 0;
    }
    ~OneCpu() {
        if (m_pinned) {
            pthread_setaffinity_np(pthread_self(), sizeof m_before, &m_before);
        }
    }
    OneCpu(const OneCpu&) = delete;
    OneCpu& operator=(const OneCpu&) = delete;

private:
    cpu_set_t m_before{};
    bool m_pinned = false;
};

// The device as libheif reads it, with positions counted from `start`.
struct Source {
    QIODevice* device;
    qint64 start;
    // Where the hidden flags of a grid's tiles are: cleared as libheif reads
    // them, it hands out a handle to each tile.
    std::vector<qint64> shown;
};

int64_t sourcePosition(void* source) {
    const auto* s = static_cast<Source*>(source);
    return s->device->pos() - s->start;
}

int sourceRead(void* data, size_t size, void* source) {
    const auto* s = static_cast<Source*>(source);
    const auto wanted = qint64(size);
    const qint64 from = s->device->pos() - s->start;
    auto* bytes = static_cast<char*>(data);
    if (wanted < 0 || s->device->read(bytes, wanted) != wanted) {
        return 1;
    }
    for (auto at = std::lower_bound(s->shown.begin(), s->shown.end(), from);
         at != s->shown.end() && *at < from + wanted; ++at) {
        bytes[*at - from] = char(bytes[*at - from] & ~1);
    }
    return 0;
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

// A picture libheif decoded, as planes: red, green and blue (grey: its one
// plane thrice) and maybe alpha, samples of 8 bits or of 16 holding `bits`.
struct Planes {
    std::array<const uchar*, 4> data{};
    std::array<int, 4> stride{};
    QSize size;
    int bits = 8;
    int alphaBits = 8;
    bool alpha = false;
    bool premultiplied = false;

    float sample(int plane, int x, int y) const {
        const uchar* line = data[plane] + qsizetype(y) * stride[plane];
        return (plane < 3 ? bits : alphaBits) > 8 ? float(reinterpret_cast<const quint16*>(line)[x])
                                                  : float(line[x]);
    }
};

// libheif 1.15 hands a decoded picture over as planes of red, green and blue
// (or grey) at its full resolution, whatever colours and layout were asked.
Planes planesOf(const heif_image* image) {
    Planes planes;
    const heif_colorspace space = heif_image_get_colorspace(image);
    const bool grey = space == heif_colorspace_monochrome;
    if (!grey &&
        (space != heif_colorspace_RGB || heif_image_get_chroma_format(image) != heif_chroma_444)) {
        return {};
    }
    const std::array channels =
        grey ? std::array{heif_channel_Y, heif_channel_Y, heif_channel_Y, heif_channel_Alpha}
             : std::array{heif_channel_R, heif_channel_G, heif_channel_B, heif_channel_Alpha};
    planes.alpha = heif_image_has_channel(image, heif_channel_Alpha) != 0;
    planes.premultiplied = heif_image_is_premultiplied_alpha(const_cast<heif_image*>(image)) != 0;
    planes.size =
        QSize(heif_image_get_width(image, channels[0]), heif_image_get_height(image, channels[0]));
    for (int i = 0; i < (planes.alpha ? 4 : 3); ++i) {
        const int bits = heif_image_get_bits_per_pixel_range(image, channels[i]);
        planes.data[i] = heif_image_get_plane_readonly(image, channels[i], &planes.stride[i]);
        const QSize size(heif_image_get_width(image, channels[i]),
                         heif_image_get_height(image, channels[i]));
        if (!planes.data[i] || bits < 1 || bits > 16 || size != planes.size ||
            heif_image_get_bits_per_pixel(image, channels[i]) != (bits > 8 ? 16 : 8) ||
            (i > 0 && i < 3 && bits != planes.bits)) {
            return {};
        }
        (i < 3 ? planes.bits : planes.alphaBits) = bits;
    }
    return planes;
}

// Averages each step x step block of the planes into one pixel of `out`
// from `at` on. Transparent parts are put on white first, which is what
// every page shows of them.
template <typename Sample>
void reduce(const Planes& p, int step, QImage& out, QPoint at) {
    const QSize size = reduced(p.size, step).boundedTo(out.size() - QSize(at.x(), at.y()));
    const float most = float((1 << p.bits) - 1), mostAlpha = float((1 << p.alphaBits) - 1);
    const auto row = [&p](int plane, int y) {
        return reinterpret_cast<const Sample*>(p.data[plane] + qsizetype(y) * p.stride[plane]);
    };
    for (int oy = 0; oy < size.height(); ++oy) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(at.y() + oy)) + at.x();
        const int y0 = oy * step, y1 = std::min(y0 + step, p.size.height());
        for (int ox = 0; ox < size.width(); ++ox) {
            const int x0 = ox * step, x1 = std::min(x0 + step, p.size.width());
            std::array<float, 3> sum{};
            for (int y = y0; y < y1; ++y) {
                if (!p.alpha) {
                    std::array<quint32, 3> whole{};
                    for (int c = 0; c < 3; ++c) {
                        const Sample* samples = row(c, y);
                        for (int x = x0; x < x1; ++x) {
                            whole[c] += samples[x];
                        }
                        sum[c] += float(whole[c]);
                    }
                    continue;
                }
                for (int x = x0; x < x1; ++x) {
                    const float opacity = p.sample(3, x, y) / mostAlpha;
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += p.sample(c, x, y) * (p.premultiplied ? 1.f : opacity) +
                                  most * (1.f - opacity);
                    }
                }
            }
            // Samples beyond `most` (a decoder's mistake) must not wrap round.
            const float scale = 255.f / (most * float((y1 - y0) * (x1 - x0)));
            const auto channel = [&sum, scale](int c) {
                return std::clamp(int(std::lrint(sum[c] * scale)), 0, 255);
            };
            line[ox] = qRgb(channel(0), channel(1), channel(2));
        }
    }
}

void reduceInto(const Planes& planes, int step, QImage& out, QPoint at) {
    if (step == 1 && planes.bits == 8 && !planes.alpha) { // a 12-megapixel phone photo
        const QSize size = planes.size.boundedTo(out.size() - QSize(at.x(), at.y()));
        for (int y = 0; y < size.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(at.y() + y)) + at.x();
            const uchar* r = planes.data[0] + qsizetype(y) * planes.stride[0];
            const uchar* g = planes.data[1] + qsizetype(y) * planes.stride[1];
            const uchar* b = planes.data[2] + qsizetype(y) * planes.stride[2];
            for (int x = 0; x < size.width(); ++x) {
                line[x] = qRgb(r[x], g[x], b[x]);
            }
        }
    } else if (planes.bits > 8) {
        reduce<quint16>(planes, step, out, at);
    } else {
        reduce<uchar>(planes, step, out, at);
    }
}

// Decodes one picture and reduces the part of it that shows, `shown`, into
// `out` at shown.topLeft() / step; a null `out` is made for it once the
// codec is done. False when it is not of the size its boxes say.
bool decodeInto(const heif_image_handle* handle, const QSize& expected, const QRect& shown,
                int step, QImage& out, heif_error& error) {
    heif_image* image = nullptr;
    error = heif_decode_image(handle, &image, heif_colorspace_undefined, heif_chroma_undefined,
                              nullptr);
    Planes planes = error.code == heif_error_Ok ? planesOf(image) : Planes();
    if (out.isNull() && !planes.size.isEmpty()) {
        out = QImage(reduced(shown.size(), step), QImage::Format_RGB32);
    }
    const bool fits = !planes.size.isEmpty() && planes.size == expected && !out.isNull();
    if (fits) {
        planes.size = shown.size();
        reduceInto(planes, step, out, shown.topLeft() / step);
    }
    heif_image_release(image);
    return fits;
}

// The part of a picture of `full` pixels that a clap box keeps, rounded as
// libheif 1.15 rounds it; empty when it keeps nothing.
QRect clapRect(const QByteArray& clap, const QSize& full) {
    if (clap.size() < 32) {
        return {};
    }
    std::array<double, 8> v{};
    for (qsizetype i = 0; i < 8; ++i) {
        const quint32 field = qFromBigEndian<quint32>(clap.constData() + 4 * i);
        v[i] = i == 4 || i == 6 ? double(qint32(field)) : double(field); // the offsets are signed
    }
    if (v[1] == 0 || v[3] == 0 || v[5] == 0 || v[7] == 0) {
        return {};
    }
    const double width = std::floor(v[0] / v[1] + 0.5), height = std::floor(v[2] / v[3] + 0.5);
    const double left = std::floor(v[4] / v[5] + (full.width() - 1 - (width - 1)) / 2);
    const double top = std::floor(v[6] / v[7] + (full.height() - 1 - (height - 1)) / 2 + 0.5);
    const QRect kept(int(std::clamp(left, -1e9, 1e9)), int(std::clamp(top, -1e9, 1e9)),
                     int(std::min(width, 1e9)), int(std::min(height, 1e9)));
    return kept & QRect(QPoint(0, 0), full);
}

// The primary image's crops, turns and mirrorings in their order, on a
// picture reduced by `step` from `full` pixels (or a null one, to follow its
// size alone).
QImage transformed(QImage image, QSize& full, int step, const QList<HeifMeta::Property>& steps) {
    for (const HeifMeta::Property& transform : steps) {
        const int value = transform.payload.isEmpty() ? 0 : uchar(transform.payload[0]);
        if (transform.type == "clap") {
            const QRect kept = clapRect(transform.payload, full);
            full = kept.size();
            const QRect part(kept.topLeft() / step, reduced(kept.size(), step));
            image = image.isNull() ? image : image.copy(part & image.rect());
        } else if (transform.type == "irot" && (value & 3) != 0) {
            image =
                image.isNull() ? image : image.transformed(QTransform().rotate(-90 * (value & 3)));
            full = (value & 1) != 0 ? full.transposed() : full;
        } else if (transform.type == "imir" && !image.isNull()) {
            // As libheif 1.15 reads it: 1 swaps left and right, 0 top and bottom.
            image = image.mirrored((value & 1) != 0, (value & 1) == 0);
        }
    }
    return image;
}

// The largest of 8, 4 and 2 that reduces `whole` to no less than `size` and
// divides a grid's tiles, else 1.
int reductionStep(const QSize& whole, const QSize& size, const QSize& tile) {
    for (const int step : {8, 4, 2}) {
        if (reduced(whole, step).expandedTo(size) == reduced(whole, step) &&
            tile.width() % step == 0 && tile.height() % step == 0) {
            return step;
        }
    }
    return 1;
}

// The item that holds the primary image's transparency, or 0.
quint32 alphaOf(const HeifMeta& meta, quint32 primary) {
    for (const quint32 id : meta.referrers(primary, "auxl")) {
        const HeifMeta::Property* auxC = meta.property(id, "auxC");
        // A full box: version and flags, then the type as a C string.
        const QByteArray type = auxC && auxC->payload.size() > 4
                                    ? QByteArray(auxC->payload.constData() + 4)
                                    : QByteArray();
        if (type == "urn:mpeg:hevc:2015:auxid:1" || type == "urn:mpeg:avc:2015:auxid:1" ||
            type == "urn:mpeg:mpegB:cicp:systems:auxiliary:alpha") {
            return id;
        }
    }
    return 0;
}

QSize ispe(const HeifMeta& meta, quint32 id) {
    const HeifMeta::Property* ispe = meta.property(id, "ispe");
    if (!ispe || ispe->payload.size() < 12) {
        return {};
    }
    const auto side = [ispe](int at) {
        return int(std::min<quint32>(qFromBigEndian<quint32>(ispe->payload.constData() + at),
                                     std::numeric_limits<int>::max()));
    };
    return {side(4), side(8)};
}

} // namespace

struct HeifReader::Private {
    explicit Private(QIODevice* device)
        : source{device, device ? device->pos() : 0, {}} {}
    ~Private() { heif_context_free(context); }

    bool fail(Problem why) {
        problem = why;
        return false;
    }
    bool judge(const QList<quint32>& ids);
    bool readGrid(quint32 id, const QList<quint32>& tiles);
    bool openContext();
    QImage readWhole(const QSize& size);
    QImage readTiles(const QSize& size);

    Source source;
    HeifMeta meta;
    Problem problem = Problem::None;
    int tiles = 0;
    QSize stored; // the primary image's pixels, before its crops and turns
    QSize upright;
    bool turned = false; // a quarter turn, or three
    QList<HeifMeta::Property> transforms;
    // A grid's tiles, when they are decoded one at a time; otherwise empty,
    // and libheif decodes the primary image whole.
    QList<quint32> tileIds;
    int tileCount = 0; // the pictures the primary image is made of
    int columns = 0;
    QSize tileSize;
    bool alpha = false;
    // The pictures to decode, as their parameter sets say: the largest
    // frame, the deepest samples and the richest chroma of them all.
    CodedPicture richest;
    qint64 codedBytes = 0; // the largest picture's
    bool av1 = false;      // AV1 rather than HEVC
    heif_context* context = nullptr;
};

// Whether each picture can be decoded, and what decoding it costs: the
// parameter sets in its coded bytes count, not what its boxes claim.
bool HeifReader::Private::judge(const QList<quint32>& ids) {
    for (const quint32 id : ids) {
        const HeifMeta::Item* item = meta.item(id);
        const bool hevc = item && item->type == "hvc1", isAv1 = item && item->type == "av01";
        if (!item) {
            return fail(Problem::Damaged);
        }
        if (!(hevc && heif_have_decoder_for_format(heif_compression_HEVC)) &&
            !(isAv1 && heif_have_decoder_for_format(heif_compression_AV1))) {
            return fail(Problem::Unsupported); // VVC, JPEG, uncompressed ...
        }
        if (!meta.dataPresent(id)) {
            return fail(Problem::Incomplete);
        }
        constexpr qint64 kMostCoded = PhotoLoader::maxDecodingBytes / 4;
        if (meta.dataSize(id) > kMostCoded) {
            return fail(Problem::TooLarge);
        }
        const HeifMeta::Property* config = meta.property(id, hevc ? "hvcC" : "av1C");
        const QByteArray data = meta.data(id, kMostCoded);
        const CodedPicture picture = config && !data.isEmpty()
                                         ? CodedPicture::read(config->type, config->payload, data)
                                         : CodedPicture();
        if (!picture.isValid() || !picture.depthAgrees()) {
            return fail(Problem::Damaged);
        }
        richest.frame = richest.frame.expandedTo(picture.frame);
        richest.bitDepth = std::max(richest.bitDepth, picture.bitDepth);
        richest.halfSamples = std::max(richest.halfSamples, picture.halfSamples);
        codedBytes = std::max(codedBytes, qint64(data.size()));
        av1 = av1 || !hevc;
    }
    return true;
}

// A grid's layout, from its own bytes. Its tiles must be of one size and
// cover it: libheif would paste tiles of other sizes over each other, in
// another order each time, or leave what they do not cover black.
bool HeifReader::Private::readGrid(quint32 id, const QList<quint32>& parts) {
    const QByteArray grid = meta.data(id, 64);
    const bool wide = grid.size() == 12 && (grid[1] & 1) != 0;
    if (grid.size() != (wide ? 12 : 8)) {
        return fail(Problem::Damaged);
    }
    const auto field = [&grid, wide](qsizetype index) {
        return wide ? int(std::min<quint32>(
                          qFromBigEndian<quint32>(grid.constData() + 4 + 4 * index),
                          std::numeric_limits<int>::max()))
                    : int(qFromBigEndian<quint16>(grid.constData() + 4 + 2 * index));
    };
    const int rows = uchar(grid[2]) + 1;
    columns = uchar(grid[3]) + 1;
    stored = QSize(field(0), field(1));
    tileSize = ispe(meta, parts.first());
    const bool oneSize = std::all_of(parts.begin(), parts.end(),
                                     [this](quint32 tile) { return ispe(meta, tile) == tileSize; });
    const QSize declared = ispe(meta, id);
    if (qint64(rows) * columns != parts.size() || !oneSize || tileSize.isEmpty() ||
        stored.isEmpty() || qint64(columns) * tileSize.width() < stored.width() ||
        qint64(rows) * tileSize.height() < stored.height() ||
        (declared.isValid() && declared != stored)) {
        return fail(Problem::Damaged);
    }
    return true;
}

bool HeifReader::Private::openContext() {
    for (const quint32 id : tileIds) {
        source.shown.push_back(meta.item(id)->flagsAt);
    }
    std::sort(source.shown.begin(), source.shown.end());
    context = source.device->seek(source.start) ? heif_context_alloc() : nullptr;
    if (!context) {
        return fail(Problem::Damaged);
    }
    heif_context_set_maximum_image_size_limit(context, kMaxSide);
    // Where libheif puts a grid together itself (one with transparency), it
    // does so a tile at a time: the alpha grid's tiles are not checked here.
    heif_context_set_max_decoding_threads(context, 0);
    const heif_error error = heif_context_read_from_reader(context, &kReader, &source, nullptr);
    if (error.code != heif_error_Ok) {
        return fail(error.subcode == heif_suberror_Security_limit_exceeded ? Problem::TooLarge
                                                                           : Problem::Damaged);
    }
    return true;
}

// libheif decodes the primary image and turns it upright; it is reduced
// from its planes.
QImage HeifReader::Private::readWhole(const QSize& size) {
    heif_image_handle* handle = nullptr;
    heif_error error = heif_context_get_primary_image_handle(context, &handle);
    const int step = reductionStep(upright, size, QSize(0, 0));
    QImage out;
    std::optional<OneCpu> pinned;
    if (av1) {
        pinned.emplace();
    }
    const bool done = error.code == heif_error_Ok &&
                      decodeInto(handle, upright, QRect(QPoint(), upright), step, out, error);
    pinned.reset();
    heif_image_handle_release(handle);
    if (!done) {
        fail(error.subcode == heif_suberror_Security_limit_exceeded ? Problem::TooLarge
                                                                    : Problem::Damaged);
        return {};
    }
    return out;
}

// A grid, a few tiles at a time on as many threads, each reduced into the
// picture as it comes: only the reduced picture and the tiles in hand are
// held. The tiles cover each their own part, so the order they finish in
// makes no difference.
QImage HeifReader::Private::readTiles(const QSize& size) {
    const int step = reductionStep(turned ? upright.transposed() : upright,
                                   turned ? size.transposed() : size, tileSize);
    QImage out(reduced(stored, step), QImage::Format_RGB32);
    std::vector<heif_image_handle*> handles(size_t(tileIds.size()), nullptr);
    std::atomic<bool> failed{out.isNull()};
    for (size_t i = 0; i < handles.size() && !failed; ++i) {
        failed = heif_context_get_image_handle(context, tileIds[qsizetype(i)], &handles[i]).code !=
                 heif_error_Ok;
    }
    std::atomic<size_t> next{0};
    const auto work = [&] {
        heif_error error{};
        for (size_t i = next++; i < handles.size() && !failed; i = next++) {
            const QPoint origin(int(i) % columns * tileSize.width(),
                                int(i) / columns * tileSize.height());
            const QRect shown = QRect(origin, tileSize) & QRect(QPoint(), stored);
            if (!shown.isEmpty() && !decodeInto(handles[i], tileSize, shown, step, out, error)) {
                failed = true;
            }
        }
    };
    std::vector<std::thread> workers;
    const size_t threads = std::min(handles.size(), threadCount());
    for (size_t i = 1; i < threads; ++i) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer threads, the same picture
        }
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
    for (heif_image_handle* handle : handles) {
        heif_image_handle_release(handle);
    }
    if (failed) {
        fail(out.isNull() ? Problem::TooLarge : Problem::Damaged);
        return {};
    }
    QSize full = stored;
    return transformed(out, full, step, transforms);
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
    // ftyp: size, "ftyp", major brand, minor version, compatible brands.
    const QByteArray head = device->peek(256);
    if (head.size() < 16 || head.mid(4, 4) != "ftyp") {
        return false;
    }
    const qsizetype end =
        std::min<qsizetype>(qFromBigEndian<quint32>(head.constData()), head.size());
    for (qsizetype at = 8; at + 4 <= end; at += at == 8 ? 8 : 4) {
        if (brand(head.constData() + at)) {
            return true;
        }
    }
    return false;
}

bool HeifReader::readHeader() {
    QIODevice* device = d->source.device;
    if (!device || !device->isReadable() || device->isSequential()) {
        return d->fail(Problem::Damaged);
    }
    d->meta = HeifMeta::read(device);
    const HeifMeta& meta = d->meta;
    if (meta.cutShort()) {
        return d->fail(Problem::Incomplete);
    }
    if (!readableBrand(meta) || (meta.hasMovie() && !meta.isValid())) {
        return d->fail(Problem::Unsupported);
    }
    if (!meta.isValid()) {
        return d->fail(Problem::Damaged);
    }
    const quint32 primary = meta.primary();
    const QByteArray type = meta.item(primary)->type;
    const bool derived = type == "grid" || type == "iden" || type == "iovl";
    const QList<quint32> parts = derived ? meta.references(primary, "dimg") : QList{primary};
    if (parts.size() > maxTiles || meta.itemCount() > 4 * maxTiles) {
        d->tiles = int(parts.size() > maxTiles ? parts.size() : meta.itemCount());
        return d->fail(Problem::TooManyTiles);
    }
    const quint32 alpha = alphaOf(meta, primary);
    const bool alphaGrid = alpha != 0 && meta.item(alpha)->type == "grid";
    const QList<quint32> alphaParts = alphaGrid    ? meta.references(alpha, "dimg")
                                      : alpha != 0 ? QList{alpha}
                                                   : QList<quint32>();
    if (parts.isEmpty() || alphaParts.size() > maxTiles) {
        return d->fail(Problem::Damaged);
    }
    if (!d->judge(parts) || !d->judge(alphaParts)) {
        return false;
    }
    d->stored = ispe(meta, primary);
    if (type == "grid" && !d->readGrid(primary, parts)) {
        return false;
    }
    // libheif takes no side longer; nor do our sums.
    if (d->stored.width() > kMaxSide || d->stored.height() > kMaxSide ||
        d->tileSize.width() > kMaxSide || d->tileSize.height() > kMaxSide) {
        return d->fail(Problem::TooLarge);
    }
    d->tileIds = type == "grid" && alpha == 0 ? parts : QList<quint32>();
    d->tileCount = int(parts.size());
    d->alpha = alpha != 0;
    for (const int index : meta.item(primary)->properties) {
        const HeifMeta::Property& property = meta.properties().value(index);
        if (property.type == "clap" || property.type == "irot" || property.type == "imir") {
            d->transforms.append(property);
            const char value = property.payload.isEmpty() ? char(0) : property.payload[0];
            d->turned = d->turned != (property.type == "irot" && (value & 1) != 0);
        }
    }
    d->upright = d->stored;
    transformed(QImage(), d->upright, 1, d->transforms);
    return !d->upright.isEmpty() || d->fail(Problem::Damaged);
}

QSize HeifReader::uprightSize() const {
    return d->upright;
}

qint64 HeifReader::decodingBytes(const QSize& size) const {
    // Measured with libheif 1.15 (libde265 1.0.11, dav1d 1.0) on HEVC and AV1
    // pictures of 12 to 50 megapixels, 8 to 12 bits, 4:0:0 to 4:4:4, with
    // and without alpha. A picture's decode holds, one after another: the
    // codec's frames (libde265 two, dav1d one) next to libheif's copy of the
    // picture as coded; that copy next to its conversion to planes of red,
    // green and blue (and alpha); those planes (a turned copy too) next to
    // our reduced picture. The codecs' own tables, the C library's kept
    // blocks and the coded bytes (read twice) come on top.
    const CodedPicture& p = d->richest;
    const qint64 sampleBytes = p.bitDepth > 8 ? 2 : 1;
    const bool tiled = !d->tileIds.isEmpty();
    const int step = tiled ? reductionStep(d->turned ? d->upright.transposed() : d->upright,
                                           d->turned ? size.transposed() : size, d->tileSize)
                           : reductionStep(d->upright, size, QSize(0, 0));
    const qint64 out = pixels(reduced(tiled ? d->stored : d->upright, step)) * 4;
    const qint64 outputs = out + (reduced(d->upright, step) != size ? pixels(size) * 4 : 0);
    const bool derived = d->meta.item(d->meta.primary())->type != "hvc1" &&
                         d->meta.item(d->meta.primary())->type != "av01";
    const qint64 frame = pixels(p.frame.expandedTo(derived ? d->tileSize : d->stored));
    const qint64 coded = frame * sampleBytes * p.halfSamples / 2;
    const qint64 channels = (p.halfSamples == 2 ? 1 : 3) + (d->alpha ? 1 : 0);
    const qint64 planes = frame * sampleBytes * channels;
    const qint64 overhead = frame * (d->av1 ? 3 : 5) / 2 + 2 * d->codedBytes + (8 << 20);
    const qint64 picture = overhead + std::max({coded * (d->av1 ? 2 : 3), coded + planes,
                                                planes + (d->alpha ? frame * sampleBytes * 3 : 0)});
    if (tiled) {
        return outputs + picture * std::min<qint64>(qint64(threadCount()), d->tileCount);
    }
    if (derived) { // libheif puts the tiles together into planes of its own
        const qint64 canvas = pixels(d->stored) * sampleBytes * channels;
        return canvas + std::max(picture, outputs + (d->turned ? canvas : 0));
    }
    return std::max(picture, overhead + planes * (d->transforms.isEmpty() ? 1 : 2) + outputs);
}

QImage HeifReader::read(const QSize& size) {
    if (d->upright.isEmpty() || size.isEmpty() || size.expandedTo(d->upright) != d->upright) {
        d->fail(Problem::Damaged);
        return {};
    }
    if (!d->context && !d->openContext()) {
        return {};
    }
    QImage image = d->tileIds.isEmpty() ? d->readWhole(size) : d->readTiles(size);
    if (!image.isNull() && image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (image.isNull() && d->problem == Problem::None) {
        d->fail(Problem::Damaged);
    }
    return image;
}

PhotoLoader::Problem HeifReader::problem() const {
    return d->problem;
}

int HeifReader::tiles() const {
    return d->tiles;
}
