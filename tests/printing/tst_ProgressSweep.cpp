#include "main_window/LineControl.h"
#include "main_window/MousePointer.h"
#include "printing/ProgressSweep.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

namespace {

struct Sample {
    int x1, y1, x2, y2;
    bool shown;
    Qt::CursorShape pointer;
};

Qt::CursorShape pointer() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr ? cursor->shape() : Qt::BlankCursor; // blank: none set
}

} // namespace

class TestProgressSweep : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() {
        while (QApplication::overrideCursor() != nullptr)
            QApplication::restoreOverrideCursor();
    }

    void sweepsOnceUnderTheHourglass_data() {
        QTest::addColumn<int>("pointerBefore"); // -1: the default pointer
        QTest::newRow("default pointer before") << -1;
        QTest::newRow("arrow before") << int(Qt::ArrowCursor);
    }
    void sweepsOnceUnderTheHourglass() {
        QFETCH(int, pointerBefore);
        if (pointerBefore == int(Qt::ArrowCursor))
            MousePointer::arrow();

        QWidget page;
        page.resize(129, 181);
        LineControl bar(&page);
        bar.hide();
        page.show();

        // The pauses run the event loop, so a zero timer looks at the bar
        // between the steps.
        QList<Sample> samples;
        QTimer watch;
        watch.setInterval(0);
        connect(&watch, &QTimer::timeout, [&] {
            samples.append({bar.x1(), bar.y1(), bar.x2(), bar.y2(), !bar.isHidden(), pointer()});
        });
        watch.start();
        QElapsedTimer clock;
        clock.start();
        ProgressSweep(bar);
        const qint64 took = clock.elapsed();
        watch.stop();

        QList<int> heights;
        for (const Sample& sample : samples) {
            QCOMPARE(sample.x1, 0);
            QCOMPARE(sample.x2, 1935);
            QCOMPARE(sample.y2, sample.y1);
            QVERIFY(sample.shown);
            QCOMPARE(sample.pointer, Qt::WaitCursor);
            if (heights.isEmpty() || heights.last() != sample.y1)
                heights.append(sample.y1);
        }
        QList<int> expected;
        for (int y = 0; y <= 2700; y += 30)
            expected.append(y);
        QCOMPARE(heights, expected);
        QVERIFY2(took >= 900, qPrintable(QStringLiteral("swept in %1 ms").arg(took)));

        QVERIFY(bar.isHidden());
        QCOMPARE(bar.y1(), 2700);
        QCOMPARE(pointer(), Qt::ArrowCursor);
    }

    // Exit during the sweep may take the window away; the sweep must not
    // touch the bar after that.
    void barGoingAwayEndsTheSweep() {
        auto* page = new QWidget;
        auto* bar = new LineControl(page);
        QTimer::singleShot(100, [page] { delete page; });
        QElapsedTimer clock;
        clock.start();
        ProgressSweep(*bar);
        QVERIFY(clock.elapsed() < 900);
        QCOMPARE(pointer(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestProgressSweep)
#include "tst_ProgressSweep.moc"
