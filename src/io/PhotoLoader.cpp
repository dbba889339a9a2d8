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
    const auto eighths = [&](int m) {
        const auto part = [m](int length) {
            return int(std::max<qint64>(1, qint64(length) * m / 8));
        };
        return QSize(part(upright.width()), part(upright.height()));
    };
    // The smallest step that keeps the print sharp; where the pixel ceiling
    // forbids that, the largest step under the ceiling.
    const QSize sharpSize = PageGeometry::photoPixels();
    int chosen = 1;
    for (int m = 1; m <= 8; ++m) {
        const QSize size = eighths(m);
        if (pixels(size) > maxDecodedPixels) {
            break;
        }
        chosen = m;
        if (size.width() >= sharpSize.width() && size.height() >= sharpSize.height()) {
            break;
        }
    }
    return chosen == 8 ? upright : eighths(chosen);
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
    const QSize stored = reader.size();
    if (stored.isEmpty() || pixels(stored) > maxStoredPixels) {
        return {};
    }

    // The scaled size applies before the EXIF turn, the print need after it.
    const bool quarterTurn =
        reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = quarterTurn ? stored.transposed() : stored;
    const QSize decodedUpright = decodeSize(upright);
    const QSize decoded = quarterTurn ? decodedUpright.transposed() : decodedUpright;
    if (decoded != stored) {
        reader.setScaledSize(decoded);
    }

    // The JPEG decoder fills a target of the right size and format in place
    // (a target it cannot use is dropped untouched, costing no memory). This
    // allocation bypasses the reader's limit, hence the ceiling check.
    QImage image;
    if (format == "jpeg" && pixels(decoded) <= maxDecodedPixels) {
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
