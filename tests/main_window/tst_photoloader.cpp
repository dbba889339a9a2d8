#include "main_window/PhotoLoader.h"

#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// The quarters of the 64 x 48 sample pictures (tools/make_test_photos.py).
const QColor topLeft(220, 40, 40);
const QColor bottomRight(240, 220, 40);
const QColor red(220, 30, 30);
const QColor blue(30, 60, 200);
const QColor green(40, 200, 60);

using Probes = QList<QPair<QPoint, QColor>>;

QColor gray(const QColor& colour) {
    const int level = qGray(colour.rgb());
    return QColor(level, level, level);
}

// A tiny broken or forged file may cost a little; its claimed size may not.
constexpr qint64 kSmallFileBudgetMb = 32;

bool near(QRgb pixel, const QColor& colour) {
    // JPEG shifts colours a little, CMYK conversion a little more.
    constexpr int slack = 40;
    return std::abs(qRed(pixel) - colour.red()) <= slack &&
           std::abs(qGreen(pixel) - colour.green()) <= slack &&
           std::abs(qBlue(pixel) - colour.blue()) <= slack;
}

qint64 statusKb(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

// How far the resident memory peaked above its level before `load`, in MB;
// -1 where the system cannot tell.
template <typename Load>
qint64 peakGrowthMb(Load load) {
    QFile clearRefs("/proc/self/clear_refs");
    const bool reset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
    clearRefs.close();
    const qint64 before = statusKb("VmRSS:");
    load();
    const qint64 peak = statusKb("VmHWM:");
    return reset && before >= 0 && peak >= 0 ? (peak - before) / 1024 : -1;
}

} // namespace

class TestPhotoLoader : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(file.fileName()));
        }
        return file.fileName();
    }

    static QByteArray sample(const QString& name) {
        QFile file(QFINDTESTDATA("data/" + name));
        if (!file.open(QIODevice::ReadOnly)) {
            qFatal("missing sample %s", qPrintable(name));
        }
        return file.readAll();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // Load each decoder once, so its plugin does not count as a cost below.
        for (const char* name : {"quadrants.jpg", "quadrants.bmp", "quadrants.gif"}) {
            QVERIFY(!PhotoLoader::load(write(name, sample(name))).isNull());
        }
    }

    void loads_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size"); // empty: not a readable photo
        QTest::addColumn<Probes>("probes");

        const Probes quarters{{{16, 12}, topLeft}, {{48, 36}, bottomRight}};
        const auto made = [&](const char* row, const QString& file, const QByteArray& bytes,
                              QSize size = {}, const Probes& probes = {}) {
            QTest::newRow(row) << write(file, bytes) << size << probes;
        };
        for (const char* file :
             {"quadrants.jpg", "progressive.jpg", "cmyk.jpg", "quadrants.bmp", "quadrants.gif"}) {
            made(file, file, sample(file), {64, 48}, quarters);
        }
        made("jpeg named .gif", "foto.gif", sample("quadrants.jpg"), {64, 48}, quarters);
        made("gray jpeg", "gray.jpg", sample("gray.jpg"), {64, 48},
             {{{16, 12}, gray(topLeft)}, {{48, 36}, gray(bottomRight)}});
        // Stored 40 x 20 with a red block top-left; orientation 6 turns it a
        // quarter clockwise, so upright the block is top-right.
        made("exif orientation 6", "exif_rot6.jpg", sample("exif_rot6.jpg"), {20, 40},
             {{{15, 4}, red}, {{4, 30}, blue}});
        made("transparent gif on white", "transparent.gif", sample("transparent.gif"), {32, 32},
             {{{2, 2}, Qt::white}, {{16, 16}, green}});
        // Cut in the middle of the pixel data: the top is there, the rest is
        // the decoder's grey, and the photo is kept.
        const QByteArray jpeg = sample("quadrants.jpg");
        const qsizetype scan = jpeg.indexOf("\xff\xda");
        made("truncated jpeg", "truncated.jpg", jpeg.left(scan + (jpeg.size() - scan) / 2),
             {64, 48}, {{{16, 4}, topLeft}});

        made("jpeg cut in its header", "header.jpg", jpeg.left(100));
        made("text named .jpg", "text.jpg", "Dit is geen foto.\n");
        made("zero bytes", "empty.jpg", {});
        QImage(8, 8, QImage::Format_RGB32).save(m_dir.filePath("photo.png"));
        QTest::newRow("png is not offered") << m_dir.filePath("photo.png") << QSize() << Probes();
        for (const char* forged :
             {"jpeg_claims_60000.jpg", "bmp_claims_60000.bmp", "gif_huge_screen.gif"}) {
            made(forged, forged, sample(forged));
        }
        QTest::newRow("folder") << m_dir.path() << QSize() << Probes();
        QTest::newRow("missing") << m_dir.filePath("nothing.jpg") << QSize() << Probes();
    }

    void loads() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(Probes, probes);
        QImage photo;
        const qint64 growthMb = peakGrowthMb([&] { photo = PhotoLoader::load(path); });
        QVERIFY2(growthMb < kSmallFileBudgetMb, qPrintable(QString::number(growthMb)));
        QCOMPARE(photo.isNull(), size.isEmpty());
        if (!photo.isNull()) {
            QCOMPARE(photo.size(), size);
            QCOMPARE(photo.format(), QImage::Format_RGB32);
        }
        for (const auto& [at, colour] : probes) {
            QVERIFY2(near(photo.pixel(at), colour), qPrintable(QColor(photo.pixel(at)).name()));
        }
    }

    // A 96-megapixel portrait stored with EXIF orientation 6: upright it is
    // 12000 x 8000, and it must come out reduced, upright and still sharp.
    void largePhotoDecodesReduced() {
        QString path;
        {
            QImage stored(8000, 12000, QImage::Format_RGB888);
            stored.fill(QColor(128, 128, 128));
            QPainter(&stored).fillRect(0, 0, 1000, 1000, red);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(90);
            QVERIFY(writer.write(stored));
            // Borrow the orientation record of the small sample.
            const QByteArray small = sample("exif_rot6.jpg");
            const qsizetype app1 = small.indexOf("\xff\xe1");
            QVERIFY(app1 > 0);
            const int length = (uchar(small[app1 + 2]) << 8) | uchar(small[app1 + 3]);
            bytes.insert(2, small.mid(app1, 2 + length));
            path = write("large.jpg", bytes);
        }
        QImage photo;
        const qint64 growthMb = peakGrowthMb([&] { photo = PhotoLoader::load(path); });
        // The full decode alone would take 366 MB.
        QVERIFY2(growthMb < 160, qPrintable(QString::number(growthMb)));
        QVERIFY(photo.width() >= PhotoLoader::sharpSize.width());
        QVERIFY(photo.height() >= PhotoLoader::sharpSize.height());
        QVERIFY(qint64(photo.width()) * photo.height() <= 12000 * 8000 / 4);
        QVERIFY(std::abs(double(photo.width()) / photo.height() - 1.5) < 0.01);
        QVERIFY(near(photo.pixel(photo.width() - 20, 20), red));
        QVERIFY(near(photo.pixel(20, 20), QColor(128, 128, 128)));
    }

    void decodeSize_data() {
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("small stays") << QSize(40, 20) << QSize(40, 20);
        QTest::newRow("12 MP phone stays") << QSize(4032, 3024) << QSize(4032, 3024);
        QTest::newRow("24 MP camera") << QSize(6000, 4000) << QSize(4500, 3000);
        QTest::newRow("100 MP camera") << QSize(11648, 8736) << QSize(4368, 3276);
        QTest::newRow("portrait keeps its width") << QSize(4000, 6000) << QSize(4000, 6000);
        QTest::newRow("panorama under the ceiling") << QSize(40000, 3000) << QSize(20000, 1500);
    }
    void decodeSize() {
        QFETCH(QSize, upright);
        QFETCH(QSize, decoded);
        QCOMPARE(PhotoLoader::decodeSize(upright), decoded);
    }
};

QTEST_GUILESS_MAIN(TestPhotoLoader)
#include "tst_photoloader.moc"
