// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Pause.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

void Pause(float seconds) {
    if (!(seconds > 0.0f)) {
        return;
    }
    // A monotonic clock: the wait keeps its length across midnight and clock
    // changes.
    const auto requested = static_cast<qint64>(std::ceil(double(seconds) * 1e9));
    QElapsedTimer clock;
    clock.start();

    // Instead of spinning, each pass sleeps in the event loop until either an
    // event arrives or the wake-up timer fires at the end of the wait. The
    // window events run at least once, however busy the machine.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    qint64 elapsed = clock.nsecsElapsed();
    do {
        const qint64 remainingMs = (qMax<qint64>(0, requested - elapsed) + 999'999) / 1'000'000;
        wakeUp.start(int(qMin<qint64>(remainingMs, 1'000'000)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        elapsed = clock.nsecsElapsed();
    } while (elapsed < requested);
}
