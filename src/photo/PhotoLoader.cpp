// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PhotoLoader.h"

#include "files/FileName.h"
#include "photo/ExifOrientation.h"
#include "photo/HeifReader.h"
#include "photo/JpegLayout.h"
#include "photo/PhotoFormat.h"

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
// themselves, and TIFF has no end to look for.
bool looksComplete(QIODevice* device, const QByteArray& format) {
    if (format == "gif")
        return tail(device, 1) == ";"; // the trailer
    if (format == "png")
        return tail(device, 12).contains("IEND");
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

// Tens of megabytes of fresh memory fault in one 4 KB page at a time, which
// on some systems costs more than the decode itself: ask for huge pages.
void preferHugePages(QImage& image) {
#if defined(MADV_HUGEPAGE)
    const auto page = quintptr(sysconf(_SC_PAGESIZE));
    const auto start = quintptr(image.bits());
    const quintptr begin = (start + page - 1) & ~(page - 1);
    const quintptr end = (start + quintptr(image.sizeInBytes())) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
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
    // not a regular file.
    const QByteArray native = FileName::toNative(path);
    const int fd = open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    Result result;
    struct stat st;
    if (fd < 0) {
        result.file = FileError::fromErrno(errno);
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
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (!PhotoFormat::readByQt(format))
        return refused(Problem::NotAPicture);
    // Before the reader takes the header in, while the device is at its start.
    const JpegLayout jpeg = format == "jpeg" ? JpegLayout::read(device) : JpegLayout();
    const bool complete = format == "jpeg" ? jpeg.complete : looksComplete(device, format);
    const QSize claimed = claimedSize(device, format);
    QSize stored = reader.size();
    // Qt reports a top-down BMP, a valid and common variant, with a negative
    // height; it decodes it the right way up.
    if (format == "bmp")
        stored.setHeight(qAbs(stored.height()));
    // A GIF's frames are put together on its whole logical screen.
    if (format == "gif" && pixels(claimed) > pixels(stored))
        stored = claimed;
    // Qt declines to read the header of a BMP that claims more than it
    // will decode; the user is told it is too large, not that it is damaged.
    if (stored.isEmpty() && pixels(claimed) * 4 > maxDecodingBytes)
        stored = claimed;
    if (stored.isEmpty())
        return refused(Problem::Damaged);

    // Qt turns a JPEG or TIFF upright itself, a PNG or WebP not.
    const bool ownTurn = format == "png" || format == "webp";
    const QImageIOHandler::Transformations orientation =
        ownTurn ? ExifOrientation::read(device, format) : reader.transformation();
    // The scaled size applies before the EXIF turn, the print need after it.
    const bool quarterTurn = orientation.testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = quarterTurn ? stored.transposed() : stored;
    const QSize decodedUpright = decodeSize(upright, enough);
    const QSize decoded = quarterTurn ? decodedUpright.transposed() : decodedUpright;

    // What the decoder holds at once: the photo as it comes out, reduced, and
    // turned upright and put on white (each a copy); a multi-pass JPEG also
    // its coefficient buffer, anything else the whole picture before it is
    // reduced, WebP twice (its own planes, or an animation's canvas).
    const int storedBytesPerPixel =
        std::max(4, QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel() / 8) *
        (format == "webp" ? 2 : 1);
    const qint64 output = pixels(decoded) * 4 * (ownTurn ? 3 : 2);
    const qint64 needed = format != "jpeg" ? pixels(stored) * storedBytesPerPixel + output
                          : jpeg.onePass   ? output
                                           : jpeg.bufferedBytes + output;
    if (pixels(decoded) > maxDecodedPixels)
        return tooLarge(upright, pixels(decoded) * 4, maxDecodedPixels * 4);
    if (needed > maxDecodingBytes)
        return tooLarge(upright, needed, maxDecodingBytes);
    if (decoded != stored)
        reader.setScaledSize(decoded);

    // The JPEG decoder fills a target of the right size and format in place
    // (a target it cannot use is dropped untouched, costing no memory).
    QImage image;
    if (format == "jpeg") {
        const QImage::Format target = reader.imageFormat() == QImage::Format_Grayscale8
                                          ? QImage::Format_Grayscale8
                                          : QImage::Format_RGB32;
        image = QImage(decoded, target);
        if (!image.isNull())
            preferHugePages(image);
    }

    const AllocationLimitScope limit(int(maxDecodingBytes >> 20));
    if (!reader.read(&image) || image.isNull())
        return refused(Problem::Damaged, upright);
    Result result;
    result.photo = onWhite(ownTurn ? ExifOrientation::apply(image, orientation) : image);
    result.size = upright;
    result.incomplete = !complete;
    if (result.photo.isNull())
        return refused(Problem::Damaged, upright);
    return result;
}
