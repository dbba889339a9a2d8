// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how long the calendar page takes to draw and to save, next to a
// plain write of the same bytes and a PostScript calendar rasterised by
// Ghostscript at the same size. Figures only; nothing passes or fails.
#include "drawing/PageContent.h"
#include "drawing/RenderCalendarBitmap.h"
#include "output/BmpWriter.h"
#include "output/OutputFormat.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int runs = 11;

double medianMs(const std::function<void()>& work, int count = runs) {
    QList<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

PageContent content() {
    PageContent page;
    page.headerLeft = QStringLiteral("Familie Jansen");
    page.headerRight = QStringLiteral("Koptekst rechts");
    page.footerLeft = QStringLiteral("Voettekst links");
    page.footerRight = QStringLiteral("Voettekst rechts");
    page.year = 2005;
    // A camera-sized photo, so the photo's scaling is part of the figure.
    page.photo = QImage(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&page.photo);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor(30, 90, 160));
    gradient.setColorAt(1, QColor(200, 180, 60));
    painter.fillRect(page.photo.rect(), gradient);
    return page;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const PageContent page = content();
    const QString bmp = dir.filePath(QStringLiteral("page.bmp"));
    const OutputFormat& bmpFormat = *OutputFormat::named(QStringLiteral("bmp"));

    std::printf("median of %d runs, photo 4000 x 3000\n", runs);
    for (const int f : {1, 2})
        std::printf("render %4d x %4d:             %8.1f ms\n", 770 * f, 1100 * f,
                    medianMs([&] { RenderCalendarBitmap(page, f); }));

    const double renderAndSave = medianMs([&] { bmpFormat.save({page, 2, {}}, bmp, nullptr); });
    std::printf("render + BMP save 1540 x 2200:  %8.1f ms (synced, renamed into place)\n",
                renderAndSave);
    // The same work as the pipeline below, which writes its file plainly.
    const double renderAndEncode = medianMs([&] {
        QFile file(dir.filePath(QStringLiteral("plain.bmp")));
        if (file.open(QIODevice::WriteOnly))
            BmpWriter::write(RenderCalendarBitmap(page, 2), file);
    });
    std::printf("render + BMP encoding, plain file: %5.1f ms\n", renderAndEncode);

    const QImage big = RenderCalendarBitmap(page, 2);
    const double save = medianMs([&] { bmpFormat.save({page, 2, big}, bmp, nullptr); });
    const qint64 size = QFile(bmp).size();
    const QByteArray bytes(size, '\x5a');
    const double plain = medianMs([&] {
        QFile file(dir.filePath(QStringLiteral("plain.bin")));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    });
    // The save goes through a temporary file that is synced and renamed over
    // the target; the fair comparison writes the same bytes the same way.
    const double plainSafe = medianMs([&] {
        QSaveFile file(dir.filePath(QStringLiteral("plain-safe.bin")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
            file.commit();
        }
    });
    std::printf("BMP save (%lld bytes):      %8.1f ms\n", size, save);
    std::printf("plain write, same bytes:        %8.1f ms\n", plain);
    std::printf("plain safe write, same bytes:   %8.1f ms (BMP save is %.2fx; target <= 2x)\n",
                plainSafe, save / plainSafe);

    const QString pcal = QStandardPaths::findExecutable(QStringLiteral("pcal"));
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (pcal.isEmpty() || gs.isEmpty()) {
        std::printf("pcal | gs:                      skipped (pcal or gs not installed)\n");
        return 0;
    }
    const QString pipeline =
        QStringLiteral("'%1' -w -P a4 2005 | '%2' -q -dNOPAUSE -dBATCH -sDEVICE=bmp16m "
                       "-g1540x2200 -sOutputFile='%3' -")
            .arg(pcal, gs, dir.filePath(QStringLiteral("pcal.bmp")));
    const double external = medianMs(
        [&] {
            QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), pipeline});
        },
        5);
    std::printf("pcal | gs to BMP 1540 x 2200:   %8.1f ms (median of 5; render + encoding is "
                "1/%.1f of it, target at most 1/10)\n",
                external, external / renderAndEncode);
    return 0;
}
