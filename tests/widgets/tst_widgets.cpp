// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"
#include "widgets/Controls.h"
#include "widgets/ImageButton.h"
#include "widgets/LineControl.h"
#include "widgets/MousePointer.h"
#include "widgets/Pause.h"
#include "widgets/PressFeedback.h"
#include "widgets/ProgressSweep.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

class TestWidgets : public QObject {
    Q_OBJECT

    static Qt::CursorShape pointer() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor != nullptr ? cursor->shape() : Qt::BlankCursor; // blank: none set
    }

private Q_SLOTS:
    // A wait runs the events that are waiting and lasts its length; one of
    // zero or less (or no number) returns at once and runs none.
    void pause_data() {
        QTest::addColumn<float>("seconds");
        for (const float seconds :
             {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), 0.01f, 0.1f, 0.2f})
            QTest::addRow("%g", double(seconds)) << seconds;
    }
    void pause() {
        QFETCH(float, seconds);
        bool ran = false;
        QMetaObject::invokeMethod(
            this, [&] { ran = true; }, Qt::QueuedConnection);
        QElapsedTimer clock;
        clock.start();
        Pause(seconds);
        QCOMPARE(ran, seconds > 0);
        if (seconds > 0)
            QVERIFY(clock.nsecsElapsed() >= qint64(double(seconds) * 1e9));
        QTRY_VERIFY(ran);
    }

    // A press shows the button down-right for 0.2 s, then puts it on its
    // fixed rest, not back where it happened to be.
    void pressFeedback_data() {
        QTest::addColumn<ButtonRest>("rest");
        QTest::addColumn<QPoint>("startPixels");
        QTest::newRow("main ok") << ButtonRests::mainOk << QPoint(306, 216);
        QTest::newRow("main exit, moved before") << ButtonRests::mainExit << QPoint(3, 4);
        QTest::newRow("preview ok") << ButtonRests::previewOk << QPoint(0, 0);
        QTest::newRow("preview exit") << ButtonRests::previewExit << QPoint(500, 700);
    }
    void pressFeedback() {
        QFETCH(ButtonRest, rest);
        QFETCH(QPoint, startPixels);
        QWidget container;
        ImageButton button(QStringLiteral("Ok"), &container);
        button.move(startPixels);
        QPoint pressed; // where the button stands while the wait runs the events
        QMetaObject::invokeMethod(
            this, [&] { pressed = button.pos(); }, Qt::QueuedConnection);
        PressFeedback(button, rest);
        QCOMPARE(pressed, QPoint((rest.left + 15) / 15, (rest.top + 15) / 15));
        QCOMPARE(button.pos(), QPoint(rest.left / 15, rest.top / 15));
    }

    // Under the hourglass the bar sweeps once down the page picture, full
    // width, in equal steps from its top to its last step inside it; then it
    // is hidden and the pointer is the arrow.
    void sweep() {
        QWidget page;
        page.resize(129, 181);
        LineControl bar(&page);
        bar.hide();
        page.show();
        QList<int> heights;
        connect(&bar, &LineControl::pointsChanged, [&] {
            QVERIFY(bar.isVisible() && bar.x1() == 0 && bar.x2() == 1935 && bar.y1() == bar.y2());
            QCOMPARE(pointer(), Qt::WaitCursor);
            heights << bar.y1();
        });
        ProgressSweep(bar);
        const int step = heights.value(1) - heights.value(0), pageHeight = 2715;
        QVERIFY(heights.size() > 2 && heights.first() == 0 && step > 0);
        for (int i = 1; i < heights.size(); ++i)
            QCOMPARE(heights[i] - heights[i - 1], step);
        QVERIFY(heights.last() <= pageHeight && heights.last() + step > pageHeight);
        QVERIFY(bar.isHidden());
        QCOMPARE(pointer(), Qt::ArrowCursor);
    }

    // The windows' hidden labels and the page measure a text alike: the
    // right header in its 20.25 pt bold label is 204 pixels wide.
    void measure() {
        QWidget window;
        QLabel* label = Controls::measuringLabel(&window, "Label4", QStringLiteral("x"),
                                                 PageStyle::printed().headerMeasureFont);
        Controls::measured(*label, QStringLiteral("Koptekst rechts"));
        QCOMPARE(label->width(), 204);
        QCOMPARE(TextMeasure::widthTwips(label->font(), label->text()), 204 * 15);
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
