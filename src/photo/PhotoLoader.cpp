// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PhotoLoader.h"

#include "files/FileName.h"
#include "photo/ExifOrientation.h"
#include "photo/HeifReader.h"
#include "photo/JpegLayout.h"
#include "photo/PhotoFormat.h"
#include "photo/PngReader.h"
#include "photo/TiffReader.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Problem = PhotoLoader::Problem;
using Transformations = QImageIOHandler::Transformations;

// QImageReader's allocation limit is process-wide: raise it to our own
// budget only while we decode, then give back what was there.
class AllocationLimitScope {
public:
    explicit AllocationLimitScope(int mb)
        : m_previous(QImageReader::allocationLimit()) {
        QImageReader::setAllocationLimit(mb);
    }
    ~AllocationLimitScope() { QImageReader::setAllocationLimit(m_previous); }
    AllocationLimitScope(const AllocationLimitScope&) = delete;
    AllocationLimitScope& operator=(const AllocationLimitScope&) = delete;

private:
    int m_previous;
};

qint64 pixels(const QSize& size) {
    return qint64(size.width()) * size.height();
}

qint64 littleEndian(const QByteArray& bytes, int at, int count) {
    qint64 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

PhotoLoader::Result refused(PhotoLoader::Problem problem, QSize size = {}) {
    PhotoLoader::Result result;
    result.problem = problem;
    result.size = size;
    return result;
}

PhotoLoader::Result tooLarge(QSize size, qint64 needed, qint64 limit) {
    PhotoLoader::Result result = refused(PhotoLoader::Problem::TooLarge, size);
    result.neededBytes = needed;
    result.limitBytes = limit;
    return result;
}

// The one budget every format is held to: what its decoder holds at once,
// and the photo that comes out; a PNG or TIFF, decoded whole row by row
// however far it is reduced, also its pixels.
bool overBudget(qint64 needed, const QSize& decoded, const QSize& stored = {}) {
    return needed > PhotoLoader::maxDecodingBytes ||
           pixels(decoded) > PhotoLoader::maxDecodedPixels ||
           pixels(stored) > PhotoLoader::maxStreamedPixels;
}

PhotoLoader::Result loaded(const QImage& photo, QSize upright, bool incomplete) {
    if (photo.isNull())
        return refused(Problem::Damaged, upright);
    PhotoLoader::Result result;
    result.photo = photo;
    result.size = upright;
    result.incomplete = incomplete;
    return result;
}

// The sizes a photo is decoded at: the scaled size applies before the turn,
// the print need after it.
struct Fit {
    QSize upright; // the whole photo, as it stands
    QSize decoded; // reduced, as stored
};

Fit fitFor(const QSize& stored, Transformations orientation, const QSize& enough) {
    const bool quarterTurn = orientation.testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = quarterTurn ? stored.transposed() : stored;
    const QSize decoded = PhotoLoader::decodeSize(upright, enough);
    return {upright, quarterTurn ? decoded.transposed() : decoded};
}

// The bytes at the end of a random-access device, its position kept.
QByteArray tail(QIODevice* device, qint64 count) {
    const qint64 at = device->pos();
    QByteArray bytes;
    if (device->seek(std::max<qint64>(0, device->size() - count)))
        bytes = device->read(count);
    device->seek(at);
    return bytes;
}

// Whether a file holds all its header promises; a JPEG's markers say so
// themselves.
bool looksComplete(QIODevice* device, const QByteArray& format) {
    if (format == "gif")
        return tail(device, 1) == ";"; // the trailer
    if (format == "webp") {
        const QByteArray head = device->peek(8);
        return head.size() == 8 && device->size() >= 8 + littleEndian(head, 4, 4);
    }
    if (format == "bmp") {
        const QByteArray head = device->peek(34);
        if (head.size() < 34)
            return false;
        const qint64 offset = littleEndian(head, 10, 4);
        const qint64 width = qint32(littleEndian(head, 18, 4));
        const qint64 height = qint32(littleEndian(head, 22, 4));
        const qint64 bits = littleEndian(head, 28, 2), compression = littleEndian(head, 30, 4);
        if (compression != 0 && compression != 3)
            return true; // run-length data has no length to check
        const qint64 rowBytes = (std::abs(width) * bits + 31) / 32 * 4;
        return device->size() >= offset + rowBytes * std::abs(height);
    }
    return true;
}

// The size a BMP header or a GIF's logical screen claims.
QSize claimedSize(QIODevice* device, const QByteArray& format) {
    const QByteArray head = device->peek(26);
    if (format == "bmp" && head.size() >= 26)
        return QSize(int(qint32(littleEndian(head, 18, 4))),
                     std::abs(int(qint32(littleEndian(head, 22, 4)))));
    if (format == "gif" && head.size() >= 10)
        return QSize(int(littleEndian(head, 6, 2)), int(littleEndian(head, 8, 2)));
    return {};
}

// What Qt's WebP reader holds a pixel while it decodes: the frame; an
// animation's canvas beside it; libwebp's own pixels of a lossless frame.
int webpBytesPerPixel(QIODevice* device) {
    const qint64 start = device->pos();
    int bytes = 8; // not found: as lossless
    for (qint64 at = 12; device->seek(at);) {
        const QByteArray head = device->read(21);
        if (head.size() < 8)
            break;
        if (head.startsWith("VP8X") && head.size() == 21 && (uchar(head[8]) & 0x02) != 0) {
            bytes = 12;
            break;
        }
        if (head.startsWith("VP8 ") || head.startsWith("VP8L")) {
            bytes = head.startsWith("VP8L") ? 8 : 4;
            break;
        }
        at += 8 + (littleEndian(head, 4, 4) + 1) / 2 * 2;
    }
    device->seek(start);
    return bytes;
}

// Tens of megabytes of fresh memory fault in one 4 KB page at a time, which
// on some systems costs more than the decode itself: ask for huge pages.
void preferHugePages(QImage& image) {
#if defined(MADV_HUGEPAGE)
    const auto page = qsizetype(sysconf(_SC_PAGESIZE));
    uchar* bits = image.bits();
    const qsizetype skip = (page - qsizetype(quintptr(bits) % quintptr(page))) % page;
    const qsizetype length = (image.sizeInBytes() - skip) / page * page;
    if (length > 0)
        madvise(bits + skip, size_t(length), MADV_HUGEPAGE);
#else
    Q_UNUSED(image);
#endif
}

QImage onWhite(const QImage& image) {
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    if (flat.isNull())
        return {};
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

// PNG and TIFF: read by our own readers, reduced as they are decoded.
template <class Reader>
PhotoLoader::Result readReduced(Reader& reader, Transformations orientation, const QSize& enough) {
    const Fit fit = fitFor(reader.size(), orientation, enough);
    // The reduced photo, and its turned copy.
    const qint64 needed =
        reader.decodingBytes() +
        pixels(fit.decoded) * 4 * (orientation == QImageIOHandler::TransformationNone ? 1 : 2);
    if (overBudget(needed, fit.decoded, reader.size()))
        return tooLarge(fit.upright, needed, PhotoLoader::maxDecodingBytes);
    const QImage image = reader.read(fit.decoded);
    return loaded(image.isNull() ? image : ExifOrientation::apply(image, orientation), fit.upright,
                  reader.incomplete());
}

PhotoLoader::Result loadPng(QIODevice* device, const QSize& enough) {
    const Transformations orientation = ExifOrientation::read(device, "png");
    PngReader png(device);
    if (!png.readHeader())
        return refused(Problem::Damaged);
    return readReduced(png, orientation, enough);
}

PhotoLoader::Result loadTiff(QIODevice* device, const QSize& enough) {
    TiffReader tiff(device);
    switch (tiff.readHeader()) {
    case TiffReader::Header::Damaged:
        return refused(Problem::Damaged);
    case TiffReader::Header::Unsupported:
        return refused(Problem::Unsupported, tiff.size());
    case TiffReader::Header::Read:
        break;
    }
    return readReduced(tiff, tiff.orientation(), enough);
}

// What Qt's readers (JPEG, WebP, BMP, GIF) tell before decoding.
struct QtHeader {
    QByteArray format;
    JpegLayout jpeg;
    bool complete = true;
    QSize stored;
    Transformations orientation;
    bool ownTurn = false; // Qt turns a JPEG upright itself, a WebP not
};

QtHeader readQtHeader(QImageReader& reader, QIODevice* device) {
    QtHeader header;
    header.format = reader.format();
    const QByteArray& format = header.format;
    // Before the reader takes the header in, while the device is at its start.
    header.jpeg = format == "jpeg" ? JpegLayout::read(device) : JpegLayout();
    header.complete = format == "jpeg" ? header.jpeg.complete : looksComplete(device, format);
    const QSize claimed = claimedSize(device, format);
    QSize& stored = header.stored;
    stored = reader.size();
    // Qt reports a top-down BMP, a valid and common variant, with a negative
    // height; it decodes it the right way up.
    if (format == "bmp")
        stored.setHeight(qAbs(stored.height()));
    // A GIF's frames are put together on its whole logical screen.
    if (format == "gif" && pixels(claimed) > pixels(stored))
        stored = claimed;
    // Qt declines to read the header of a BMP that claims more than it
    // will decode; the user is told it is too large, not that it is damaged.
    if (stored.isEmpty() && overBudget(pixels(claimed) * 4, {}))
        stored = claimed;
    header.ownTurn = format == "webp";
    header.orientation =
        header.ownTurn ? ExifOrientation::read(device, format) : reader.transformation();
    return header;
}

// What the decoder holds at once. A JPEG reduces as it decodes, holding only
// a multi-pass file's coefficients; the others decode the whole picture,
// then it is reduced, and put on white or turned upright (each a copy).
qint64 qtNeededBytes(const QtHeader& header, const Fit& fit, QImageReader& reader,
                     QIODevice* device) {
    const qint64 output = pixels(fit.decoded) * 4 * (header.ownTurn ? 3 : 2);
    if (header.format == "jpeg")
        return (header.jpeg.onePass ? 0 : header.jpeg.bufferedBytes) + output;
    const qint64 whole = pixels(header.stored) * 4;
    const qint64 decoding =
        header.format == "webp"
            ? pixels(header.stored) * webpBytesPerPixel(device) + device->size() // its copy
            : pixels(header.stored) *
                  std::max(4, QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel() / 8);
    return std::max(decoding, whole + output);
}

PhotoLoader::Result decodeWithQt(QImageReader& reader, const QtHeader& header, const Fit& fit) {
    if (fit.decoded != header.stored)
        reader.setScaledSize(fit.decoded);
    // The JPEG decoder fills a target of the right size and format in place
    // (a target it cannot use is dropped untouched, costing no memory).
    QImage image;
    if (header.format == "jpeg") {
        const QImage::Format target = reader.imageFormat() == QImage::Format_Grayscale8
                                          ? QImage::Format_Grayscale8
                                          : QImage::Format_RGB32;
        image = QImage(fit.decoded, target);
        if (!image.isNull())
            preferHugePages(image);
    }
    // Qt's WebP reader reads only whole files.
    if (!reader.read(&image) || image.isNull())
        return refused(header.complete ? Problem::Damaged : Problem::Incomplete, fit.upright);
    const QImage upright =
        header.ownTurn ? ExifOrientation::apply(image, header.orientation) : image;
    return loaded(onWhite(upright), fit.upright, !header.complete);
}

PhotoLoader::Result loadWithQt(QIODevice* device, const QSize& enough) {
    // Qt's own limit would refuse a large canvas before its size is known.
    const AllocationLimitScope limit(int(PhotoLoader::maxDecodingBytes >> 20));
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!PhotoFormat::readByQt(reader.format()))
        return refused(Problem::NotAPicture);
    const QtHeader header = readQtHeader(reader, device);
    if (header.stored.isEmpty())
        return refused(header.complete ? Problem::Damaged : Problem::Incomplete);
    const Fit fit = fitFor(header.stored, header.orientation, enough);
    const qint64 needed = qtNeededBytes(header, fit, reader, device);
    if (overBudget(needed, fit.decoded))
        return tooLarge(fit.upright, needed, PhotoLoader::maxDecodingBytes);
    return decodeWithQt(reader, header, fit);
}

} // namespace

QSize PhotoLoader::decodeSize(const QSize& upright, const QSize& enough) {
    const auto eighths = [&upright](int m) {
        return QSize(int(std::max<qint64>(1, qint64(upright.width()) * m / 8)),
                     int(std::max<qint64>(1, qint64(upright.height()) * m / 8)));
    };
    // The smallest step that keeps the print sharp; failing that the whole
    // photo; where the pixel ceiling forbids that, the largest step under it.
    for (const int m : {1, 2, 4}) {
        const QSize size = eighths(m);
        if (size.width() >= enough.width() && size.height() >= enough.height() &&
            pixels(size) <= maxDecodedPixels) {
            return size;
        }
    }
    if (pixels(upright) <= maxDecodedPixels)
        return upright;
    for (const int m : {4, 2}) {
        if (pixels(eighths(m)) <= maxDecodedPixels)
            return eighths(m);
    }
    return eighths(1);
}

PhotoLoader::Result PhotoLoader::load(const QString& path, const QSize& enough) {
    // The user can type any name: a FIFO would block the open, so it is
    // opened without waiting and then turned away with the rest of what is
    // not a regular file. A socket cannot be opened at all: its type is the
    // reason, not the open's error.
    const QByteArray native = FileName::toNative(path);
    const int fd = open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    Result result;
    struct stat st;
    if (fd < 0) {
        const int why = errno;
        result.file = stat(native.constData(), &st) == 0 && !S_ISREG(st.st_mode)
                          ? FileError::ofType(st.st_mode)
                          : FileError::fromErrno(why);
    } else if (fstat(fd, &st) != 0) {
        result.file = FileError::fromErrno(errno);
    } else if (!S_ISREG(st.st_mode)) {
        result.file = FileError::ofType(st.st_mode);
    } else {
        QFile file;
        file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        return load(&file, enough);
    }
    if (fd >= 0)
        close(fd);
    result.problem = Problem::File;
    return result;
}

// HEIC and AVIF: HeifReader judges the file before libheif decodes it, and
// holds only the reduced photo and the tiles in hand.
PhotoLoader::Result loadHeif(QIODevice* device, const QSize& enough) {
    using Problem = PhotoLoader::Problem;
    HeifReader heif(device);
    if (!heif.readHeader()) {
        PhotoLoader::Result result = refused(heif.problem());
        result.tiles = heif.tiles();
        return result;
    }
    const QSize upright = heif.uprightSize();
    const QSize decoded = PhotoLoader::decodeSize(upright, enough);
    const qint64 needed = heif.decodingBytes(decoded);
    if (pixels(decoded) > PhotoLoader::maxDecodedPixels)
        return tooLarge(upright, pixels(decoded) * 4, PhotoLoader::maxDecodedPixels * 4);
    if (needed > PhotoLoader::maxDecodingBytes)
        return tooLarge(upright, needed, PhotoLoader::maxDecodingBytes);
    PhotoLoader::Result result;
    result.photo = heif.read(decoded);
    result.size = upright;
    if (result.photo.isNull())
        return refused(heif.problem(), heif.problem() == Problem::TooLarge ? QSize() : upright);
    return result;
}

PhotoLoader::Result PhotoLoader::load(QIODevice* device, const QSize& enough) {
    if (HeifReader::canRead(device))
        return loadHeif(device, enough);
    const QByteArray format = QImageReader::imageFormat(device);
    if (format == "png")
        return loadPng(device, enough);
    if (format == "tiff")
        return loadTiff(device, enough);
    return loadWithQt(device, enough);
}
