// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileName.h"
#include "photo/PhotoFormat.h"
#include "photo/PhotoLoader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <sys/stat.h>

using Problem = PhotoLoader::Problem;

namespace {

// What the page's photo area needs: 300 dots per inch of it.
const QSize enough(2042, 1375);

using Probes = QList<QPair<QPoint, QColor>>;

// The quarters of the 64 x 48 sample pictures (tools/make_test_photos.py).
const QColor topLeft(220, 40, 40), topRight(40, 200, 60), bottomRight(240, 220, 40);

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

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPhoto : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString write(const char* name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

private Q_SLOTS:
    void initTestCase() {
        // Each decoder's plugin loads once, so it does not count as a cost below.
        for (const char* name : {"quadrants.jpg", "quadrants.bmp", "quadrants.gif"})
            QVERIFY(!PhotoLoader::load(sample(name), enough).photo.isNull());
    }

    // What loads, with its size and colours where they belong, and what is
    // refused, with the reason the user is told.
    void loads_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size"); // of the photo, or of what is refused as too large
        QTest::addColumn<Probes>("probes");
        QTest::addColumn<Problem>("problem");
        QTest::addColumn<FileError::Kind>("file");
        QTest::addColumn<bool>("incomplete");
        const auto loads = [](const char* name, const QString& path, QSize size, Probes probes,
                              bool incomplete = false) {
            QTest::newRow(name) << path << size << probes << Problem::None << FileError::Kind::None
                                << incomplete;
        };
        const auto refused = [](const char* name, const QString& path, Problem problem,
                                FileError::Kind file = FileError::Kind::None, QSize size = {}) {
            QTest::newRow(name) << path << size << Probes() << problem << file << false;
        };
        const Probes quarters{{{16, 12}, topLeft}, {{48, 36}, bottomRight}};
        for (const char* file : {"quadrants.jpg", "progressive.jpg", "cmyk.jpg", "quadrants.avif",
                                 "quadrants10.avif", "quadrants16.tif", "animated.webp",
                                 "quadrants.bmp", "quadrants_top_down.bmp", "quadrants.gif"})
            loads(file, sample(file), QSize(64, 48), quarters);
        // Turned three quarters anticlockwise: upright the blue quarter is
        // top-left and the red one top-right; mirrored, red and green swap sides.
        loads("heic turned", sample("quadrants_rot90.heic"), QSize(48, 64),
              {{{12, 16}, QColor(40, 60, 220)}, {{36, 16}, topLeft}});
        loads("heic mirrored", sample("quadrants_mirror.heic"), QSize(64, 48),
              {{{16, 12}, topRight}, {{48, 12}, topLeft}});
        const QString misnamed = m_dir.filePath(QStringLiteral("foto.gif"));
        QFile::copy(sample("quadrants.jpg"), misnamed);
        loads("jpeg named .gif", misnamed, QSize(64, 48), quarters);
        for (const char* file : {"gray.jpg", "gray10.avif"})
            loads(file, sample(file), QSize(64, 48), {{{16, 12}, QColor(101, 101, 101)}});
        // A grid's clean aperture keeps the top-right quarter.
        loads("heic cropped", sample("quadrants_clap.heic"), QSize(32, 24), {{{16, 12}, topRight}});
        // Stored 40 x 20 with a red block top-left; orientation 6 turns it a
        // quarter clockwise, so upright the block is top-right.
        for (const char* file :
             {"exif_rot6.jpg", "exif_rot6.png", "exif_rot6.webp", "exif_rot6.tif"})
            loads(file, sample(file), QSize(20, 40),
                  {{{15, 4}, QColor(220, 30, 30)}, {{4, 30}, QColor(30, 60, 200)}});
        for (const char* file : {"transparent.png", "transparent.gif", "transparent.avif"})
            loads(file, sample(file), QSize(32, 32), {{{2, 2}, Qt::white}, {{16, 16}, topRight}});
        // The top is there, the rest is the decoder's grey, and the photo is kept.
        loads("truncated jpeg", sample("truncated_half.jpg"), QSize(64, 48), {{{16, 4}, topLeft}},
              true);
        const QByteArray bmp = readAll(sample("quadrants.bmp"));
        loads("bmp whose pixels stop early", write("short.bmp", bmp.left(bmp.size() / 2)),
              QSize(64, 48), {}, true);
        // A baseline JPEG of 200 megapixels is reduced as it is read.
        loads("200 MP baseline jpeg", sample("jpeg_claims_16320.jpg"), QSize(4080, 3060), {});

        refused("bmp 60000 x 60000", sample("bmp_claims_60000.bmp"), Problem::TooLarge, {},
                QSize(60000, 60000));
        refused("gif screen 65535 x 65535", sample("gif_huge_screen.gif"), Problem::TooLarge, {},
                QSize(65535, 65535));
        // Its grid says 64 x 48, its size properties 60000 x 60000.
        refused("heic 60000 x 60000", sample("heic_claims_60000.heic"), Problem::Damaged);
        refused("truncated header", sample("truncated_header.jpg"), Problem::Incomplete);
        refused("heic cut in half", sample("truncated_half.heic"), Problem::Incomplete);
        refused("text", sample("text.jpg"), Problem::NotAPicture);
        refused("empty", sample("empty"), Problem::NotAPicture);
        refused("icon", QFINDTESTDATA("../../src/resources/ostrabel.ico"), Problem::NotAPicture);
        refused("folder", m_dir.path(), Problem::File, FileError::Kind::Folder);
        refused("missing", m_dir.filePath(QStringLiteral("nothing.jpg")), Problem::File,
                FileError::Kind::Missing);
        const QString fifo = m_dir.filePath(QStringLiteral("pipe.jpg"));
        mkfifo(QFile::encodeName(fifo).constData(), 0600);
        refused("fifo, nobody writing", fifo, Problem::File, FileError::Kind::Pipe);
        // Names keep their bytes: Latin-1 "foto-é.jpg".
        const QString latin1 =
            FileName::fromNative(QFile::encodeName(m_dir.path()) + "/foto-\xe9.jpg");
        QFile::copy(sample("quadrants.jpg"), m_dir.filePath(QStringLiteral("x.jpg")));
        ::rename(QFile::encodeName(m_dir.filePath(QStringLiteral("x.jpg"))).constData(),
                 FileName::toNative(latin1).constData());
        loads("latin-1 name", latin1, QSize(64, 48), quarters);
    }
    void cleanupTestCase() {
        // QTemporaryDir cannot name it to remove it.
        ::remove((QFile::encodeName(m_dir.path()) + "/foto-\xe9.jpg").constData());
    }
    void loads() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(Probes, probes);
        QFETCH(Problem, problem);
        QFETCH(FileError::Kind, file);
        QFETCH(bool, incomplete);
        PhotoLoader::Result loaded;
        // A tiny broken or forged file may cost a little beyond the decoded
        // photo; its claimed size may not.
        const qint64 growthMb = peakGrowthMb([&] { loaded = PhotoLoader::load(path, enough); });
        const QImage& photo = loaded.photo;
        QVERIFY2(growthMb < 32 + qMax<qint64>(0, qint64(size.width()) * size.height()) / 250'000 ||
                     problem != Problem::None,
                 qPrintable(QString::number(growthMb)));
        QCOMPARE(loaded.problem, problem);
        QCOMPARE(loaded.file.kind, file);
        QCOMPARE(loaded.incomplete, incomplete);
        QCOMPARE(photo.isNull(), problem != Problem::None);
        if (problem == Problem::TooLarge && size.isValid()) {
            QCOMPARE(loaded.size, size);
            QVERIFY(loaded.neededBytes > loaded.limitBytes);
        }
        if (!photo.isNull())
            QCOMPARE(QPair(photo.size(), photo.format()), QPair(size, QImage::Format_RGB32));
        for (const auto& [at, colour] : probes)
            QVERIFY2(near(photo.pixel(at), colour), qPrintable(QColor(photo.pixel(at)).name()));
    }

    // The desktop entry offers the program for every photo format it reads.
    void desktopEntry() {
        QFile entry(QStringLiteral(OSTRABEL_SOURCE_DIR "/src/resources/ostrabel.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString types = QRegularExpression(QStringLiteral("^MimeType=(.*);$"),
                                                 QRegularExpression::MultilineOption)
                                  .match(QString::fromUtf8(entry.readAll()))
                                  .captured(1);
        QCOMPARE(types.split(QLatin1Char(';')), PhotoFormat::allMimeTypes());
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
        QCOMPARE(PhotoLoader::decodeSize(upright, enough), decoded);
    }
};

QTEST_GUILESS_MAIN(TestPhoto)
#include "tst_photo.moc"
