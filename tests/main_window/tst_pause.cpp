#include "drawing/Twips.h"
#include "main_window/ImageButton.h"
#include "main_window/Main.h"
#include "main_window/Pause.h"
#include "main_window/PressFeedback.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TestPause : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zeroOrLessHandlesNothing_data() {
        QTest::addColumn<float>("seconds");
        QTest::newRow("zero") << 0.0f;
        QTest::newRow("negative") << -1.0f;
        QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
    }
    void zeroOrLessHandlesNothing() {
        QFETCH(float, seconds);
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        QElapsedTimer clock;
        clock.start();
        Pause(seconds);
        QVERIFY(clock.elapsed() < 50);
        QVERIFY(!ran);
        QTRY_VERIFY(ran);
    }

    void waitsItsLengthAndRunsEvents_data() {
        QTest::addColumn<float>("seconds");
        QTest::newRow("sweep step") << 0.01f;
        QTest::newRow("exit wait") << 0.1f;
        QTest::newRow("press") << 0.2f;
    }
    void waitsItsLengthAndRunsEvents() {
        QFETCH(float, seconds);
        bool ran = false;
        QTimer::singleShot(int(seconds * 500), [&] { ran = true; });
        QElapsedTimer clock;
        clock.start();
        Pause(seconds);
        QVERIFY(clock.nsecsElapsed() >= qint64(double(seconds) * 1e9));
        QVERIFY(ran);
    }

    // The button's rest is a fixed place, not wherever it stood before.
    void pressFeedback_data() {
        QTest::addColumn<int>("restTop");
        QTest::addColumn<int>("restLeft");
        QTest::addColumn<QPoint>("startPixels");
        QTest::newRow("main ok") << ButtonRests::mainOk.top << ButtonRests::mainOk.left
                                 << QPoint(306, 216);
        QTest::newRow("main exit, moved before")
            << ButtonRests::mainExit.top << ButtonRests::mainExit.left << QPoint(3, 4);
        QTest::newRow("preview ok")
            << ButtonRests::previewOk.top << ButtonRests::previewOk.left << QPoint(0, 0);
        QTest::newRow("preview exit")
            << ButtonRests::previewExit.top << ButtonRests::previewExit.left << QPoint(500, 700);
    }
    void pressFeedback() {
        QFETCH(int, restTop);
        QFETCH(int, restLeft);
        QFETCH(QPoint, startPixels);
        QWidget container;
        container.resize(600, 800);
        ImageButton button(QStringLiteral("Ok"), &container);
        button.resize(40, 30);
        button.move(startPixels);
        QPoint pressed;
        QTimer::singleShot(100, [&] { pressed = button.pos(); });
        QElapsedTimer clock;
        clock.start();
        PressFeedback(button, ButtonRest{restTop, restLeft});
        QVERIFY(clock.elapsed() >= 200);
        QCOMPARE(pressed, QPoint(Twips::toPixels(restLeft + 15), Twips::toPixels(restTop + 15)));
        QCOMPARE(button.pos(), QPoint(Twips::toPixels(restLeft), Twips::toPixels(restTop)));
    }

    void imageButtonClicksOnReleaseInside() {
        ImageButton button(QStringLiteral("Ok"));
        button.resize(40, 30);
        QSignalSpy clicks(&button, &ImageButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);
    }

    void exitEndsTheProgramAfterFeedback() {
        Main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int exitCode = -1;
        QTimer::singleShot(0, [&] {
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(window.ExitKnop, Qt::LeftButton);
            QVERIFY(clock.elapsed() >= 300);
        });
        exitCode = QCoreApplication::exec();
        QCOMPARE(exitCode, 0);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.ExitKnop->pos(), QPoint(356, 216));
    }
};

QTEST_MAIN(TestPause)
#include "tst_pause.moc"
