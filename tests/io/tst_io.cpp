#include "io/PhotoLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Probes = QList<QPair<QPoint, QColor>>;

// The quarters of the 64 x 48 sample pictures (tools/make_test_photos.py).
const QColor topLeft(220, 40, 40), bottomRight(240, 220, 40);

QString sample(const char* name) {
    return QFINDTESTDATA(QStringLiteral("../fuzz/corpus/") + QLatin1String(name));
}

// JPEG shifts colours a little, CMYK conversion a little more.
bool near(QRgb pixel, const QColor& colour) {
    return qAbs(qRed(pixel) - colour.red()) <= 40 && qAbs(qGreen(pixel) - colour.green()) <= 40 &&
           qAbs(qBlue(pixel) - colour.blue()) <= 40;
}

// How far the resident memory peaked above its level before `work`, in MB.
qint64 peakGrowthMb(const std::function<void()>& work) {
    const auto statusKb = [](const char* field) {
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(field))
                return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
        return -1LL;
    };
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    const qint64 before = statusKb("VmRSS:");
    work();
    return (statusKb("VmHWM:") - before) / 1024;
}

} // namespace

class TestIo : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() {
        // Each decoder's plugin loads once, so it does not count as a cost below.
        for (const char* name : {"quadrants.jpg", "quadrants.bmp", "quadrants.gif"})
            QVERIFY(!PhotoLoader::load(sample(name)).isNull());
    }

    void loads_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size"); // empty: not a readable photo
        QTest::addColumn<Probes>("probes");
        const Probes quarters{{{16, 12}, topLeft}, {{48, 36}, bottomRight}};
        for (const char* file : {"quadrants.jpg", "progressive.jpg", "cmyk.jpg", "quadrants.bmp",
                                 "quadrants_top_down.bmp", "quadrants.gif"})
            QTest::newRow(file) << sample(file) << QSize(64, 48) << quarters;
        QFile::copy(sample("quadrants.jpg"), m_dir.filePath(QStringLiteral("foto.gif")));
        QTest::newRow("jpeg named .gif")
            << m_dir.filePath(QStringLiteral("foto.gif")) << QSize(64, 48) << quarters;
        QTest::newRow("gray") << sample("gray.jpg") << QSize(64, 48)
                              << Probes{{{16, 12}, QColor(101, 101, 101)}};
        // Stored 40 x 20 with a red block top-left; orientation 6 turns it a
        // quarter clockwise, so upright the block is top-right.
        QTest::newRow("exif orientation 6")
            << sample("exif_rot6.jpg") << QSize(20, 40)
            << Probes{{{15, 4}, QColor(220, 30, 30)}, {{4, 30}, QColor(30, 60, 200)}};
        QTest::newRow("transparent gif on white")
            << sample("transparent.gif") << QSize(32, 32)
            << Probes{{{2, 2}, Qt::white}, {{16, 16}, QColor(40, 200, 60)}};
        // The top is there, the rest is the decoder's grey, and the photo is kept.
        QTest::newRow("truncated jpeg")
            << sample("truncated_half.jpg") << QSize(64, 48) << Probes{{{16, 4}, topLeft}};
        // A baseline JPEG of 200 megapixels is reduced as it is read.
        QTest::newRow("200 MP baseline jpeg")
            << sample("jpeg_claims_16320.jpg") << QSize(4080, 3060) << Probes();
        QImage(8, 8, QImage::Format_RGB32).save(m_dir.filePath(QStringLiteral("photo.png")));
        for (const QString& refused :
             {sample("truncated_header.jpg"), sample("text.jpg"), sample("empty"),
              sample("jpeg_claims_60000.jpg"), sample("bmp_claims_60000.bmp"),
              sample("gif_huge_screen.gif"), m_dir.filePath(QStringLiteral("photo.png")),
              m_dir.path(), m_dir.filePath(QStringLiteral("nothing.jpg"))})
            QTest::newRow(qPrintable(QFileInfo(refused).fileName()))
                << refused << QSize() << Probes();
    }
    void loads() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(Probes, probes);
        QImage photo;
        // A tiny broken or forged file may cost a little beyond the decoded
        // photo; its claimed size may not.
        const qint64 growthMb = peakGrowthMb([&] { photo = PhotoLoader::load(path); });
        QVERIFY2(growthMb < 32 + qMax(0, size.width() * size.height()) / 250'000,
                 qPrintable(QString::number(growthMb)));
        QCOMPARE(photo.isNull(), size.isEmpty());
        if (!photo.isNull())
            QCOMPARE(QPair(photo.size(), photo.format()), QPair(size, QImage::Format_RGB32));
        for (const auto& [at, colour] : probes)
            QVERIFY2(near(photo.pixel(at), colour), qPrintable(QColor(photo.pixel(at)).name()));
    }

    void decodeSize_data() {
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("small stays") << QSize(40, 20) << QSize(40, 20);
        QTest::newRow("12 MP phone: half is too little") << QSize(4032, 3024) << QSize(4032, 3024);
        QTest::newRow("24 MP camera") << QSize(6000, 4000) << QSize(3000, 2000);
        QTest::newRow("200 MP phone") << QSize(16320, 12240) << QSize(4080, 3060);
        QTest::newRow("portrait") << QSize(4000, 6000) << QSize(4000, 6000);
        QTest::newRow("panorama under the ceiling") << QSize(40000, 3000) << QSize(20000, 1500);
        QTest::newRow("only less sharp fits") << QSize(100000, 1000) << QSize(50000, 500);
    }
    void decodeSize() {
        QFETCH(QSize, upright);
        QFETCH(QSize, decoded);
        QCOMPARE(PhotoLoader::decodeSize(upright), decoded);
    }
};

QTEST_GUILESS_MAIN(TestIo)
#include "tst_io.moc"
