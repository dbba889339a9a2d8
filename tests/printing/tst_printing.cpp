#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "printing/CopyCount.h"
#include "printing/PrintCalendar.h"
#include "printing/PrinterSurface.h"
#include "support/RecordingJob.h"

#include <QPainter>
#include <QTest>

using Kind = RecordingSurface::Kind;

namespace {

PageContent page(QSize photo = QSize(400, 300)) {
    PageContent content{"Koptekst links",
                        "Koptekst rechts",
                        "Voettekst links",
                        "Voettekst rechts",
                        QImage(photo, QImage::Format_RGB32),
                        2009};
    content.photo.fill(Qt::darkCyan);
    return content;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Set-up and copies before the first drawing, the page drawn once in the
    // printed style (outlines as four lines), then the sweep, then the end of
    // the document. Each failure sends nothing and says why: the document is
    // not even opened for a bad copy count, and a job the printer refuses is
    // reported although the page was drawn and swept.
    void steps_data() {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("steps");
        const QStringList begun{"set-up @0", "copies 3 @0", "begin Ostrabel kalender 2009 @0"};
        RecordingSurface whole;
        PageComposer::compose(whole, page(), PageStyle::printed());
        const QString drawn = QString::number(whole.ops.size());
        QTest::newRow("printed") << "3" << QString()
                                 << (begun + QStringList{"sweep @" + drawn, "end @" + drawn});
        QTest::newRow("no printer") << "3"
                                    << "no job" << QStringList();
        QTest::newRow("zero copies") << "0" << QString() << QStringList{"set-up @0"};
        QTest::newRow("printer refuses to start") << "3"
                                                  << "start" << begun;
        QTest::newRow("header line fails") << "3"
                                           << "header" << (begun + QStringList{"discard @8"});
        QTest::newRow("printer refuses the job")
            << "3"
            << "job" << (begun + QStringList{"sweep @" + drawn, "end @" + drawn});
    }
    void steps() {
        QFETCH(QString, copies);
        QFETCH(QString, failure);
        QFETCH(QStringList, steps);
        RecordingJob job;
        job.refuseStart = failure == "start";
        job.refuseJob = failure == "job";
        if (failure == "header")
            job.surface.fails = [](const RecordingSurface::Op& op) {
                return op.kind == Kind::Number;
            };
        const PrintOutcome outcome =
            PrintCalendar(page(), copies, failure == "no job" ? nullptr : &job,
                          [&job] { job.note(QStringLiteral("sweep")); });
        QCOMPARE(job.steps, steps);
        QCOMPARE(outcome.printed, steps.size() == 5 && failure.isEmpty());
        QCOMPARE(outcome.message.isEmpty(), outcome.printed);
        if (outcome.printed)
            QCOMPARE(job.surface.of({Kind::Line}).size(), 601 * 4 + 12);
    }

    // However large the photo, the printer gets no more pixels than the
    // photo area needs; a small photo goes as it is.
    void photoResolution_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSize>("sent");
        QTest::newRow("24 megapixels") << QSize(6000, 4000) << QSize(2042, 1375);
        QTest::newRow("small") << QSize(400, 300) << QSize(400, 300);
        QTest::newRow("tall panorama") << QSize(1000, 9000) << QSize(1000, 1375);
        QTest::newRow("no photo") << QSize() << QSize(0, 0);
    }
    void photoResolution() {
        QFETCH(QSize, photo);
        QFETCH(QSize, sent);
        RecordingJob job;
        QVERIFY(PrintCalendar(page(photo), QStringLiteral("1"), &job, [] {}).printed);
        const QList<double> args = job.surface.of({Kind::Picture}).value(0).args;
        QCOMPARE(QSize(int(args.value(4)), int(args.value(5))), sent);
    }

    // A page that fits the printable area is drawn as it is, twips turned
    // into the device's units and fonts at their size on paper; one that does
    // not is scaled down evenly from the corner until its outermost lines,
    // the photo frame's right edge and the last grid row, lie inside.
    void fitsThePrintableArea_data() {
        QTest::addColumn<QSizeF>("points");
        QTest::addColumn<double>("scale");
        QTest::newRow("A4 with 7 mm margins") << QSizeF(555, 802) << 1.0;
        QTest::newRow("Generic PDF driver's A4") << QSizeF(559, 770) << 770 * 20 / 15781.;
    }
    void fitsThePrintableArea() {
        QFETCH(QSizeF, points);
        QFETCH(double, scale);
        QImage area((points * 2).toSize(), QImage::Format_RGB32); // 144 dpi
        area.setDotsPerMeterX(5669);
        area.setDotsPerMeterY(5669);
        area.fill(Qt::white);
        QPainter painter(&area);
        PrinterSurface surface(painter, area);
        QVERIFY(PageComposer::compose(surface, page(), PageStyle::printed()));
        painter.end();
        QCOMPARE(surface.scale(), scale);
        QRect ink;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                if (area.pixel(x, y) != qRgb(255, 255, 255))
                    ink |= QRect(x, y, 1, 1);
        QVERIFY(qAbs(ink.right() - 10730 * scale / 10) <= 1);
        QVERIFY(qAbs(ink.bottom() - 15780 * scale / 10) <= 1);
        // The header's capitals stand 0.19 em of 20 pt below its line's top.
        QVERIFY(qAbs(ink.top() - (450 + 0.19 * 400) * scale / 10) <= 2);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
