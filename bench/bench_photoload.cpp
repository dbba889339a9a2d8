// SPDX-License-Identifier: GPL-3.0-or-later
// Photo loading: time of PhotoLoader::load on a 24-megapixel JPEG next to a
// plain full-size decode of the same file, the photo's cost inside a whole
// ostrabel-cli run next to djpeg's own reduced decode, the time and peak
// memory of loading a 200-megapixel JPEG, and a 12-megapixel phone photo as
// HEIC next to the same as JPEG, each measured in a fresh child process.
// Prints figures; never fails on speed.
#include "TestPicture.h"
#include "drawing/PageGeometry.h"
#include "photo/PhotoLoader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <libheif/heif.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

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

bool makeJpeg(const QString& path, int width, int height) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(testPicture(width, height));
}

// The same picture as HEIC, through libheif's own encoder (libheif-examples).
bool makeHeic(const QString& path, int width, int height) {
    const QString png = path + ".png";
    return testPicture(width, height).save(png) &&
           QProcess::execute(QStringLiteral("heif-enc"), {"-q", "90", "-o", path, png}) == 0;
}

// libheif's own decode of a HEIF photo's primary image to 8-bit RGBA, as a
// program that shows the photo whole does: what the loader's HEIF cost is
// held to.
QImage libheifDecode(const QString& path) {
    heif_init(nullptr);
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    const bool decoded =
        heif_context_read_from_file(context, QFile::encodeName(path).constData(), nullptr).code ==
            heif_error_Ok &&
        heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                          nullptr)
                .code == heif_error_Ok;
    heif_image_handle_release(handle);
    heif_context_free(context);
    if (!decoded) {
        return {};
    }
    int stride = 0;
    uchar* bits = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const auto release = [](void* picture) {
        heif_image_release(static_cast<heif_image*>(picture));
    };
    return QImage(bits, heif_image_get_width(image, heif_channel_interleaved),
                  heif_image_get_height(image, heif_channel_interleaved), stride,
                  QImage::Format_RGBA8888, release, image);
}

QImage decode(const QString& mode, const QString& path) {
    if (mode == "libheif") {
        return libheifDecode(path);
    }
    if (mode == "loader") {
        return PhotoLoader::load(path, PageGeometry::photoPixels()).photo;
    }
    QImageReader reader(path);
    if (mode == "scaled") { // the loader's size, without its memory hint
        reader.setScaledSize(PhotoLoader::decodeSize(reader.size(), PageGeometry::photoPixels()));
    }
    QImageReader::setAllocationLimit(0);
    return reader.read();
}

// Child mode: decode one file the given way, print milliseconds, size and
// the peak resident memory the decode added.
int child(const QString& mode, const QString& path) {
    // Load the JPEG plugin first: its start-up is not part of a decode.
    QByteArray tiny;
    QBuffer buffer(&tiny);
    buffer.open(QIODevice::WriteOnly);
    QImage(16, 16, QImage::Format_RGB32).save(&buffer, "JPEG");
    QImage::fromData(tiny, "JPEG");
    const qint64 before = statusKb("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    const QImage image = decode(mode, path);
    const qint64 ns = clock.nsecsElapsed();
    std::printf("%.1f %d %d %lld\n", double(ns) / 1e6, image.width(), image.height(),
                static_cast<long long>((statusKb("VmHWM:") - before) / 1024));
    return image.isNull() ? 1 : 0;
}

struct Run {
    double ms = 0;
    QString size;
    qint64 peakMb = 0;
};

Run runChild(const QString& mode, const QString& path) {
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {"--child", mode, path});
    process.waitForFinished(120'000);
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    if (process.exitCode() != 0 || fields.size() != 4) {
        return {-1, "failed", -1};
    }
    return {fields[0].toDouble(), fields[1] + "x" + fields[2], fields[3].toLongLong()};
}

// Prints the runs' median and returns it in milliseconds.
double report(const char* label, const QString& mode, const QString& path, int runs) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) {
        all.push_back(runChild(mode, path));
    }
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    const Run& median = all[all.size() / 2];
    std::printf("  %-42s %-11s median %7.1f ms  min %7.1f ms  peak +%lld MB\n", label,
                qPrintable(median.size), median.ms, all.front().ms,
                static_cast<long long>(median.peakMb));
    return median.ms;
}

// The median wall time of whole runs of a program, its output discarded.
double wholeRunMs(const QString& program, const QStringList& arguments, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start(program, arguments);
        process.waitForFinished(120'000);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// What the photo adds to a whole ostrabel-cli run, next to libjpeg-turbo's
// own decode of the same file at a quarter (djpeg, libjpeg-turbo-progs).
void costInARun(const QString& photo, const QTemporaryDir& dir) {
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty()) {
        std::printf("  in a run: djpeg (Debian libjpeg-turbo-progs) is needed\n");
        return;
    }
    constexpr int runs = 11;
    const double quarter = wholeRunMs(djpeg, {"-scale", "1/4", photo}, runs);
    const double half = wholeRunMs(djpeg, {"-scale", "1/2", photo}, runs);
    std::printf("  djpeg -scale 1/4: %.1f ms, -scale 1/2: %.1f ms (median of %d)\n", quarter, half,
                runs);
    for (const char* kind : {"bmp", "pdf"}) {
        const QString out = dir.filePath(QStringLiteral("out.") + QLatin1String(kind));
        wholeRunMs(OSTRABEL_CLI, {out}, 2); // fonts and libraries into the cache
        const double without = wholeRunMs(OSTRABEL_CLI, {out}, runs);
        const double with = wholeRunMs(OSTRABEL_CLI, {"--foto", photo, out}, runs);
        std::printf("  ostrabel-cli to %s: the photo costs %.1f ms = %.2fx djpeg -scale 1/4, "
                    "%.2fx -scale 1/2%s\n",
                    kind, with - without, (with - without) / quarter, (with - without) / half,
                    QLatin1String(kind) == QLatin1String("bmp") ? " (target at most 1.15x 1/4)"
                                                                : " (print resolution)");
    }
}

// The 12-megapixel HEIC through the loader next to libheif's own decode:
// the loader may cost at most a tenth more.
void reportHeifAgainstLibheif(const QString& heic, double loaderMs) {
    const double libheifMs = report("libheif's own decode to RGBA, HEIC", "libheif", heic, 5);
    std::printf("  HEIC loader / libheif's decode: %.2fx (target at most 1.1x)\n",
                loaderMs / libheifMs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--child") {
        return child(args[2], args[3]);
    }
    QTemporaryDir dir;
    const QString photo24 = dir.filePath("24mp.jpg");
    const QString photo200 = dir.filePath("200mp.jpg");
    if (!makeJpeg(photo24, 6000, 4000) || !makeJpeg(photo200, 16320, 12240)) {
        std::fprintf(stderr, "cannot write the test photos\n");
        return 1;
    }
    constexpr int runs = 7;
    std::printf("24 MP JPEG, 6000 x 4000, quality 90, %lld KB (%d runs, fresh process each)\n",
                static_cast<long long>(QFile(photo24).size() / 1024), runs);
    const double full = report("plain QImageReader, full size", "full", photo24, runs);
    report("QImageReader at the loader's size", "scaled", photo24, runs);
    const double loader = report("PhotoLoader::load", "loader", photo24, runs);
    std::printf("  loader / full decode: %.2fx (target at most 0.4x)\n", loader / full);
    costInARun(photo24, dir);
    std::printf("200 MP JPEG, 16320 x 12240, quality 90, %lld KB\n",
                static_cast<long long>(QFile(photo200).size() / 1024));
    report("plain QImageReader, full size", "full", photo200, 3);
    report("PhotoLoader::load (target < 1 s, < 150 MB)", "loader", photo200, 5);

    const QString jpeg12 = dir.filePath("12mp.jpg"), heic12 = dir.filePath("12mp.heic");
    if (!makeJpeg(jpeg12, 4032, 3024) || !makeHeic(heic12, 4032, 3024)) {
        std::printf("12 MP HEIC: heif-enc (Debian libheif-examples) is needed\n");
        return 0;
    }
    std::printf("12 MP phone photo, 4032 x 3024: JPEG %lld KB, HEIC %lld KB\n",
                static_cast<long long>(QFile(jpeg12).size() / 1024),
                static_cast<long long>(QFile(heic12).size() / 1024));
    const double jpegMs = report("PhotoLoader::load, JPEG", "loader", jpeg12, 5);
    const double heicMs = report("PhotoLoader::load, HEIC", "loader", heic12, 5);
    std::printf("  HEIC / JPEG: %.1fx\n", heicMs / jpegMs);
    reportHeifAgainstLibheif(heic12, heicMs);
    return 0;
}
