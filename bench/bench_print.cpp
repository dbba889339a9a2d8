// SPDX-License-Identifier: GPL-3.0-or-later
// How long printing takes and how big the job gets, on the real default
// printer. Prints figures; never fails on speed. Run it with a test queue as
// the default printer:
//   tools/test-printer.sh build/bench/bench_print [runs]
//
// Per photo: the time from OK (after the press feedback) until the job is
// completed in the queue, less the sweep, split into composing and handing
// over the page, and the queue's own processing; and the job's size.
#include "drawing/PageContent.h"
#include "drawing/PageGeometry.h"
#include "photo/PhotoLoader.h"
#include "print_qt/PrinterJob.h"
#include "printing/PrintCalendar.h"
#include "widgets/LineControl.h"
#include "widgets/ProgressSweep.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30'000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QList<int> jobs(const QString& queue, const QString& which) {
    QList<int> ids;
    const QString prefix = queue + QLatin1Char('-');
    for (const QString& line :
         run(QStringLiteral("lpstat"), {"-W", which, "-o", queue}).split('\n'))
        if (line.startsWith(prefix))
            ids.append(line.mid(prefix.size()).section(QLatin1Char(' '), 0, 0).toInt());
    return ids;
}

qint64 jobKOctets(int job) {
    const QString attributes =
        run(QStringLiteral("ipptool"),
            {"-tv", QStringLiteral("ipp://localhost/jobs/%1").arg(job), "get-job-attributes.test"});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("job-k-octets \\(integer\\) = (\\d+)")).match(attributes);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

// Something like a camera photo for the JPEG encoder: smooth light, detail
// at every scale (value noise, octaves halving in size) and a little sensor
// noise. Pure gradients would make the job look smaller than it gets;
// more persistence and grain make a busier picture (foliage, gravel).
QImage cameraLikePhoto(int width, int height, float persistence, int grain) {
    QRandomGenerator random(2005);
    constexpr int octaves = 7;
    std::vector<std::vector<float>> grids;
    std::vector<int> cells;
    for (int o = 0; o < octaves; ++o) {
        const int cell = 512 >> o;
        const int gw = width / cell + 2, gh = height / cell + 2;
        std::vector<float> grid(size_t(gw) * gh * 3);
        for (float& value : grid)
            value = float(random.generateDouble() * 2 - 1);
        grids.push_back(std::move(grid));
        cells.push_back(cell);
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            float rgb[3] = {120.0f + 60.0f * float(y) / float(height), 110.0f,
                            140.0f - 60.0f * float(y) / float(height)};
            float amplitude = 70.0f;
            for (int o = 0; o < octaves; ++o) {
                const int cell = cells[size_t(o)];
                const int gw = width / cell + 2;
                const float fx = float(x) / float(cell), fy = float(y) / float(cell);
                const int ix = int(fx), iy = int(fy);
                const float tx = fx - float(ix), ty = fy - float(iy);
                const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
                const std::vector<float>& grid = grids[size_t(o)];
                for (int c = 0; c < 3; ++c) {
                    auto at = [&](int gx, int gy) { return grid[(size_t(gy) * gw + gx) * 3 + c]; };
                    const float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
                    const float bottom =
                        at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
                    rgb[c] += amplitude * (top + (bottom - top) * sy);
                }
                amplitude *= persistence;
            }
            const float noise = float(random.bounded(2 * grain + 1) - grain);
            auto clamp = [](float v) { return std::clamp(int(std::lround(v)), 0, 255); };
            line[x] = qRgb(clamp(rgb[0] + noise), clamp(rgb[1] + noise), clamp(rgb[2] + noise));
        }
    }
    return image;
}

struct Figures {
    double okToCompletedLessSweepMs = 0;
    double composeAndSendMs = 0;
    double queueMs = 0;
    double sweepMs = 0;
    qint64 jobKOctets = 0;
};

bool printOnce(const QString& queue, const PageContent& content, LineControl& bar,
               Figures& figures) {
    const QList<int> before = jobs(queue, QStringLiteral("all"));
    auto job = PrinterJob::onDefaultPrinter();
    QElapsedTimer clock;
    clock.start();
    qint64 sweepNs = 0;
    const PrintOutcome outcome = PrintCalendar(content, 1, job.get(), [&] {
        QElapsedTimer sweep;
        sweep.start();
        ProgressSweep(bar);
        sweepNs = sweep.nsecsElapsed();
    });
    job.reset();
    const qint64 sentNs = clock.nsecsElapsed();
    if (outcome != PrintOutcome::Printed) {
        std::fprintf(stderr, "not printed\n");
        return false;
    }
    int id = -1;
    while (clock.elapsed() < 120'000) {
        for (int candidate : jobs(queue, QStringLiteral("completed")))
            if (!before.contains(candidate))
                id = candidate;
        if (id >= 0)
            break;
    }
    const qint64 completedNs = clock.nsecsElapsed();
    if (id < 0) {
        std::fprintf(stderr, "the job did not complete\n");
        return false;
    }
    figures.sweepMs = double(sweepNs) / 1e6;
    figures.composeAndSendMs = double(sentNs - sweepNs) / 1e6;
    figures.queueMs = double(completedNs - sentNs) / 1e6;
    figures.okToCompletedLessSweepMs = double(completedNs - sweepNs) / 1e6;
    figures.jobKOctets = jobKOctets(id);
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* name, const QString& queue, const PageContent& content, LineControl& bar,
            int runs) {
    std::vector<double> total, compose, queueTimes, sweep;
    qint64 kOctets = 0;
    for (int i = 0; i < runs; ++i) {
        Figures figures;
        if (!printOnce(queue, content, bar, figures))
            return;
        total.push_back(figures.okToCompletedLessSweepMs);
        compose.push_back(figures.composeAndSendMs);
        queueTimes.push_back(figures.queueMs);
        sweep.push_back(figures.sweepMs);
        kOctets = figures.jobKOctets;
    }
    std::printf("%-44s OK to completed less sweep %6.0f ms (compose and send %5.0f ms, queue "
                "%5.0f ms); sweep %5.0f ms; job %6.2f MB\n",
                name, median(total), median(compose), median(queueTimes), median(sweep),
                double(kOctets) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    const QString queue = QPrinterInfo::defaultPrinter().printerName();
    if (queue.isEmpty()) {
        std::fprintf(stderr, "no default printer; run under tools/test-printer.sh\n");
        return 1;
    }
    std::printf("default printer %s, median of %d runs; press feedback (0.2 s) not included\n",
                qPrintable(queue), runs);

    QWidget page;
    page.resize(129, 181);
    LineControl bar(&page);
    bar.hide();
    page.show();

    PageContent content;
    content.headerLeft = QStringLiteral("Koptekst links");
    content.headerRight = QStringLiteral("Koptekst rechts");
    content.footerLeft = QStringLiteral("Voettekst links");
    content.footerRight = QStringLiteral("Voettekst rechts");
    content.year = 2005;
    report("no photo", queue, content, bar, runs);

    QTemporaryDir dir;
    struct Photo {
        const char* name;
        float persistence;
        int grain;
    };
    for (const Photo& kind : {Photo{"calm", 0.6f, 3}, Photo{"busy", 0.85f, 12}}) {
        const QImage camera = cameraLikePhoto(6000, 4000, kind.persistence, kind.grain);
        const QString path = dir.filePath(QStringLiteral("%1.jpg").arg(kind.name));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(92);
        writer.write(camera);
        std::printf("%s 24-megapixel photo: 6000 x 4000, JPEG %.1f MB at quality 92\n", kind.name,
                    double(QFileInfo(path).size()) / 1048576.0);

        content.photo = PhotoLoader::load(path, PageGeometry::photoPixels()).photo;
        const QByteArray loaded = QStringLiteral("  as loaded (%1 x %2)")
                                      .arg(content.photo.width())
                                      .arg(content.photo.height())
                                      .toLatin1();
        report(loaded.constData(), queue, content, bar, runs);
        content.photo = camera;
        report("  at full size (6000 x 4000)", queue, content, bar, runs);
    }
    return 0;
}
