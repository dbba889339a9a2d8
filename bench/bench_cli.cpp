// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what ostrabel-cli costs as whole processes, as a user or a script
// runs it: the large BMP next to a PostScript calendar rasterised by
// Ghostscript, the PDF with a camera photo, and PNG against BMP. Figures
// only; nothing passes or fails.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr int runs = 5;

// Median wall time of whole runs, in milliseconds; negative when a run failed.
double medianMs(const QString& program, const QStringList& arguments) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (QProcess::execute(program, arguments) != 0) {
            return -1;
        }
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[runs / 2];
}

// A 24-megapixel photo with detail everywhere, so its JPEG is camera-sized.
QImage cameraPhoto() {
    QImage photo(6000, 4000, QImage::Format_RGB32);
    std::minstd_rand noise(7);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int wave = int(60 * std::sin(x / 7.0) * std::cos(y / 11.0));
            row[x] = qRgb(x * 255 / 6000, y * 255 / 4000,
                          std::clamp(128 + wave + int(noise() % 24), 0, 255));
        }
    }
    return photo;
}

double megabytes(const QString& path) {
    return QFileInfo(path).size() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString cli = QStringLiteral(OSTRABEL_CLI);
    const auto file = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    std::printf("median of %d whole runs each\n", runs);

    const double bmp = medianMs(cli, {"--jaar", "2005", "--groot", file("out.bmp")});
    std::printf("ostrabel-cli BMP 1540 x 2200:    %7.1f ms\n", bmp);
    // The file is synced before it is renamed into place; the pipeline below
    // writes without. This shows the same work without the sync.
    const double unsynced = medianMs(
        QStringLiteral("/bin/sh"),
        {"-c", QStringLiteral("'%1' --jaar 2005 --groot --formaat bmp - >/dev/null").arg(cli)});
    std::printf("  the same to standard output:   %7.1f ms\n", unsynced);
    const QString pcal = QStandardPaths::findExecutable(QStringLiteral("pcal"));
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (pcal.isEmpty() || gs.isEmpty()) {
        std::printf("pcal | gs:                       skipped (pcal or gs not installed)\n");
    } else {
        const QString pipeline =
            QStringLiteral("'%1' -w -P a4 2005 | '%2' -q -dNOPAUSE -dBATCH -sDEVICE=bmp16m "
                           "-g1540x2200 -sOutputFile='%3' -")
                .arg(pcal, gs, file("pcal.bmp"));
        const double external = medianMs(QStringLiteral("/bin/sh"), {"-c", pipeline});
        std::printf("pcal | gs BMP 1540 x 2200:       %7.1f ms (ostrabel-cli is %.2fx, "
                    "%.2fx unsynced; target at most 0.5x)\n",
                    external, bmp / external, unsynced / external);
    }

    const QString photo = file("photo.jpg");
    cameraPhoto().save(photo, "JPEG", 90);
    const double pdf = medianMs(
        cli, {"--jaar", "2005", "--foto", photo, "--kop-links", "Familie", file("out.pdf")});
    std::printf("PDF with a 6000 x 4000 photo (%.1f MB JPEG): %.1f ms (target under 1000), "
                "%.2f MB (target at most 1.5)\n",
                megabytes(photo), pdf, megabytes(file("out.pdf")));

    // PNG against the BMP of the same page, both decoded to compare pixels.
    for (const bool withPhoto : {false, true}) {
        QStringList page{"--jaar", "2005", "--groot"};
        if (withPhoto)
            page << "--foto" << photo;
        const double bmpMs = medianMs(cli, page + QStringList{file("page.bmp")});
        const double pngMs = medianMs(cli, page + QStringList{file("page.png")});
        const QImage bmpPixels = QImage(file("page.bmp")).convertToFormat(QImage::Format_RGB32);
        const QImage pngPixels = QImage(file("page.png")).convertToFormat(QImage::Format_RGB32);
        const double bmpMb = megabytes(file("page.bmp"));
        const double pngMb = megabytes(file("page.png"));
        // The targets are for the page alone; with a photo the PNG must only
        // be no slower than Qt's own writer made it.
        const char* timeTarget = withPhoto ? "" : " (target at most 1.3x)";
        const char* sizeTarget = withPhoto ? "" : " (target at most 1/5)";
        std::printf("PNG 1540 x 2200, %s: %.1f ms, BMP %.1f ms: %.2fx%s; %.3f MB, BMP %.2f MB: "
                    "1/%.0f%s; pixels %s\n",
                    withPhoto ? "with the photo" : "no photo", pngMs, bmpMs, pngMs / bmpMs,
                    timeTarget, pngMb, bmpMb, bmpMb / pngMb, sizeTarget,
                    !bmpPixels.isNull() && bmpPixels == pngPixels ? "the same" : "DIFFER");
    }
    return 0;
}
