#include "io/PhotoLoader.h"

#include "drawing/PageGeometry.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// Full-size BMP and GIF decodes need up to 64 megapixels of RGB32; Qt's
// default ceiling of 128 MB would refuse a large scan.
constexpr int kAllocationLimitMb = 256;

// QImageReader's allocation limit is process-wide: raise it only while we
// decode, then give back what was there.
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

// Whether a JPEG is sequential (baseline or extended, SOF0 or SOF1) with all
// its components in its first scan: the decoder reduces those by 1/2, 1/4 or
// 1/8 as it reads, holding rows of the reduced picture only. A progressive or
// multi-scan one it holds whole first, whatever the size it is decoded at.
bool decodesInOnePass(QIODevice* device) {
    const QByteArray head = device->peek(256 * 1024);
    if (!head.startsWith("\xFF\xD8")) {
        return false;
    }
    int components = 0;
    qsizetype at = 2; // after the start-of-image marker
    while (at + 10 <= head.size() && uchar(head[at]) == 0xFF) {
        const uchar marker = uchar(head[at + 1]);
        if (marker == 0xC0 || marker == 0xC1) {
            components = uchar(head[at + 9]);
        } else if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                   marker != 0xCC) {
            return false; // progressive, lossless or arithmetic-coded
        } else if (marker == 0xDA) {
            return components > 0 && uchar(head[at + 4]) == components;
        }
        at += marker == 0xFF ? 1 : 2 + ((uchar(head[at + 2]) << 8) | uchar(head[at + 3]));
    }
    return false;
}

bool isAcceptedFormat(const QByteArray& format) {
    return format == "jpeg" || format == "bmp" || format == "gif";
}

// Tens of megabytes of fresh memory fault in one 4 KB page at a time, which
// on some systems costs more than the decode itself: ask for huge pages.
void preferHugePages(QImage& image) {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    const auto page = quintptr(sysconf(_SC_PAGESIZE));
    const auto start = quintptr(image.bits());
    const quintptr begin = (start + page - 1) & ~(page - 1);
    const quintptr end = (start + quintptr(image.sizeInBytes())) & ~(page - 1);
    if (end > begin) {
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
#else
    Q_UNUSED(image);
#endif
}

QImage onWhite(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_RGB32);
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    if (flat.isNull()) {
        return {};
    }
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

} // namespace

QSize PhotoLoader::decodeSize(const QSize& upright) {
    const QSize sharp = PageGeometry::photoPixels();
    const auto eighths = [&upright](int m) {
        return QSize(int(std::max<qint64>(1, qint64(upright.width()) * m / 8)),
                     int(std::max<qint64>(1, qint64(upright.height()) * m / 8)));
    };
    // The smallest step that keeps the print sharp; failing that the whole
    // photo; where the pixel ceiling forbids that, the largest step under it.
    for (const int m : {1, 2, 4}) {
        const QSize size = eighths(m);
        if (size.width() >= sharp.width() && size.height() >= sharp.height() &&
            pixels(size) <= maxDecodedPixels) {
            return size;
        }
    }
    if (pixels(upright) <= maxDecodedPixels) {
        return upright;
    }
    for (const int m : {4, 2}) {
        if (pixels(eighths(m)) <= maxDecodedPixels) {
            return eighths(m);
        }
    }
    return eighths(1);
}

QImage PhotoLoader::load(const QString& path) {
    // The user can type any name: a FIFO or a device would block or never
    // end, and only a regular file can hold a photo.
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return load(&file);
}

QImage PhotoLoader::load(QIODevice* device) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (!isAcceptedFormat(format)) {
        return {};
    }
    // Before the reader takes the header in, while the device is at its start.
    const bool reducedWhileRead = format == "jpeg" && decodesInOnePass(device);
    QSize stored = reader.size();
    // Qt reports a top-down BMP, a valid and common variant, with a negative
    // height; it decodes it the right way up.
    if (format == "bmp") {
        stored.setHeight(qAbs(stored.height()));
    }
    if (stored.isEmpty() || (!reducedWhileRead && pixels(stored) > maxStoredPixels)) {
        return {};
    }

    // The scaled size applies before the EXIF turn, the print need after it.
    const bool quarterTurn =
        reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = quarterTurn ? stored.transposed() : stored;
    const QSize decodedUpright = decodeSize(upright);
    const QSize decoded = quarterTurn ? decodedUpright.transposed() : decodedUpright;
    if (pixels(decoded) > maxDecodedPixels) {
        return {};
    }
    if (decoded != stored) {
        reader.setScaledSize(decoded);
    }

    // The JPEG decoder fills a target of the right size and format in place
    // (a target it cannot use is dropped untouched, costing no memory).
    QImage image;
    if (format == "jpeg") {
        const QImage::Format target = reader.imageFormat() == QImage::Format_Grayscale8
                                          ? QImage::Format_Grayscale8
                                          : QImage::Format_RGB32;
        image = QImage(decoded, target);
        if (!image.isNull()) {
            preferHugePages(image);
        }
    }

    const AllocationLimitScope limit(kAllocationLimitMb);
    if (!reader.read(&image) || image.isNull()) {
        return {};
    }
    return onWhite(image);
}
