// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time of the main window next to a bare Qt window, and the CPU time
// a one-second Pause costs. Prints figures; never fails on speed.
#include "main_window/Main.h"
#include "widgets/Pause.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

qint64 monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Child mode: build one window, show it, and print the moment it is exposed.
int showWindow(int argc, char** argv, bool bare) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->resize(416, 258);
    } else {
        window = std::make_unique<Main>();
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        return 1;
    }
    QApplication::processEvents();
    std::printf("%lld\n", static_cast<long long>(monotonicNs()));
    return 0;
}

double medianStartMs(const QString& self, const QString& mode, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        const qint64 started = monotonicNs();
        child.start(self, {mode});
        child.waitForFinished(30'000);
        const qint64 shown = child.readAllStandardOutput().trimmed().toLongLong();
        if (child.exitCode() == 0 && shown > started) {
            times.push_back(double(shown - started) / 1e6);
        }
    }
    if (times.empty()) {
        return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (qstrcmp(argv[1], "bare") == 0 || qstrcmp(argv[1], "main") == 0)) {
        return showWindow(argc, argv, qstrcmp(argv[1], "bare") == 0);
    }
    QApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = 11;
    // Interleave warm-up so both read the same libraries from the cache.
    medianStartMs(self, QStringLiteral("bare"), 2);
    medianStartMs(self, QStringLiteral("main"), 2);
    const double bare = medianStartMs(self, QStringLiteral("bare"), runs);
    const double main = medianStartMs(self, QStringLiteral("main"), runs);
    std::printf("start-up to window shown (median of %d, platform %s):\n", runs,
                qPrintable(QGuiApplication::platformName()));
    std::printf("  bare Qt window   %7.1f ms\n", bare);
    std::printf("  main window      %7.1f ms  (%.2fx the bare window; target <= 1.5x)\n", main,
                main / bare);

    const double cpuBefore = cpuSeconds();
    const qint64 wallBefore = monotonicNs();
    Pause(1.0f);
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = double(monotonicNs() - wallBefore) / 1e9;
    std::printf("Pause(1.0): %.3f s wall, %.1f ms CPU = %.2f %% of one core (target < 5 %%)\n",
                wall, cpu * 1000, 100 * cpu / wall);
    return 0;
}
