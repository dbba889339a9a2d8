// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/RenderCalendarBitmap.h"
#include "drawing/TextMeasure.h"
#include "widgets/Controls.h"
#include "widgets/ImageButton.h"
#include "widgets/LineControl.h"
#include "widgets/MousePointer.h"
#include "widgets/Pause.h"
#include "widgets/PhotoArea.h"
#include "widgets/PressFeedback.h"
#include "widgets/ProgressSweep.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QtTest>

Q_DECLARE_METATYPE(PhotoFit)

class TestWidgets : public QObject {
    Q_OBJECT

    static Qt::CursorShape pointer() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor != nullptr ? cursor->shape() : Qt::BlankCursor; // blank: none set
    }

private Q_SLOTS:
    void initTestCase() { Q_INIT_RESOURCE(ostrabel); }

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

    // The photo area shows the part of the photo the page gets, where the
    // page puts it, in every way into the frame and after the person moved
    // and enlarged a cropped photo; a press that drags is no click.
    void photoArea_data() {
        QTest::addColumn<PhotoFit>("fit");
        QTest::addColumn<QPoint>("drag"); // pixels, none: a click
        QTest::addColumn<int>("notches"); // of the wheel, before the drag
        QTest::addColumn<QRectF>("crop");
        const QRectF whole = PhotoPlacement::wholePhoto;
        QTest::newRow("stretched") << PhotoFit::Stretch << QPoint() << 0 << whole;
        QTest::newRow("fitted, dragged: nothing moves")
            << PhotoFit::Fit << QPoint(50, 0) << 0 << whole;
        QTest::newRow("cropped") << PhotoFit::Crop << QPoint() << 0 << whole;
        // 400 x 200: the frame's shape holds all its height, 297 of its width.
        QTest::newRow("cropped, dragged right")
            << PhotoFit::Crop << QPoint(200, 0) << 0 << QRectF(0, 0, 297 / 400.0, 1);
        QTest::newRow("enlarged four times, dragged up")
            << PhotoFit::Crop << QPoint(0, -200) << 20
            << QRectF((400 - 297 / 4.0) / 2 / 400, 0.75, 297 / 1600.0, 0.25);
    }
    void photoArea() {
        QFETCH(PhotoFit, fit);
        QFETCH(QPoint, drag);
        QFETCH(int, notches);
        QFETCH(QRectF, crop);
        PageContent page;
        page.photo = QImage(400, 200, QImage::Format_RGB32);
        const QColor quarters[] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}};
        for (int q = 0; q < 4; ++q)
            QPainter(&page.photo).fillRect(q % 2 * 200, q / 2 * 100, 200, 100, quarters[q]);
        PhotoArea area(QStringLiteral("Foto"), nullptr);
        area.resize(99, 59);
        area.setPhoto(page.photo);
        area.setFit(fit);
        int clicks = 0;
        connect(&area, &ImageButton::clicked, [&] { ++clicks; });
        for (int i = 0; i < notches; ++i) {
            QWheelEvent wheel(QPointF(50, 30), area.mapToGlobal(QPointF(50, 30)), {}, {0, 120},
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&area, &wheel);
        }
        QTest::mousePress(&area, Qt::LeftButton, {}, QPoint(50, 30));
        QTest::mouseMove(&area, QPoint(50, 30) + drag / 2);
        QTest::mouseMove(&area, QPoint(50, 30) + drag);
        QTest::mouseRelease(&area, Qt::LeftButton, {}, QPoint(50, 30) + drag);
        QCOMPARE(clicks, drag.isNull() ? 1 : 0);
        const QRectF chosen = area.crop();
        QVERIFY2(qAbs(chosen.left() - crop.left()) + qAbs(chosen.top() - crop.top()) +
                         qAbs(chosen.width() - crop.width()) +
                         qAbs(chosen.height() - crop.height()) <
                     1e-3,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(chosen.left())
                                .arg(chosen.top())
                                .arg(chosen.width())
                                .arg(chosen.height())));
        page.photoFit = fit;
        page.photoCrop = chosen;
        const QImage shown = area.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage frame =
            RenderCalendarBitmap(page, 1)
                .copy(60, 70, 653, 440)
                .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int y = 4; y < shown.height(); y += 10)
            for (int x = 4; x < shown.width(); x += 10)
                QVERIFY2(qAbs(qRed(shown.pixel(x, y)) - qRed(frame.pixel(x, y))) +
                                 qAbs(qBlue(shown.pixel(x, y)) - qBlue(frame.pixel(x, y))) <
                             80,
                         qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
    }

    // The program's pictures are their own files at a ratio of 1; on a scaled
    // screen they have its pixels, drawn for them, not the small ones blown up.
    void sharpPicture_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qreal>("ratio");
        for (const char* name : {"a4", "ok", "exit"})
            for (const qreal ratio : {1.0, 2.0, 3.0})
                QTest::addRow("%s at %g", name, ratio)
                    << QStringLiteral(":/pictures/%1.gif").arg(QLatin1String(name)) << ratio;
    }
    void sharpPicture() {
        QFETCH(QString, path);
        QFETCH(qreal, ratio);
        const QImage small = QImage(path).convertToFormat(QImage::Format_RGB32);
        const QImage shown =
            Controls::sharpPicture(path, ratio).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.deviceIndependentSize(), QSizeF(small.size()));
        QCOMPARE(shown.size(), small.size() * ratio);
        // At 1 the file itself; above, not its pixels copied (blocky).
        QCOMPARE(shown == small.scaled(shown.size()), ratio == 1);
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
