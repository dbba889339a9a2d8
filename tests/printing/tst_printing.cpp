// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "print_qt/PrinterJob.h"
#include "printing/CupsJob.h"
#include "printing/PdfJob.h"
#include "printing/PrintCalendar.h"
#include "printing/PrinterSurface.h"
#include "support/RecordingJob.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using Kind = RecordingSurface::Kind;
Q_DECLARE_METATYPE(PrintOutcome)

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
    // Set-up and copies before the first drawing, the page drawn once, then
    // the sweep, then the end of the document. No printer, or a printer that
    // will not start, sends nothing; a page that fails at its header is
    // discarded; a job the printer refuses is told although it was drawn.
    void steps_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<PrintOutcome>("outcome");
        const QStringList begun{"set-up @0", "copies 3 @0", "begin Ostrabel kalender 2009 @0"};
        RecordingSurface whole;
        PageComposer::compose(whole, page(), PageStyle::printed());
        const QString drawn = QString::number(whole.ops.size());
        const QStringList ended = begun + QStringList{"sweep @" + drawn, "end @" + drawn};
        QTest::newRow("printed") << QString() << ended << PrintOutcome::Printed;
        QTest::newRow("no printer") << "no job" << QStringList() << PrintOutcome::NoPrinter;
        QTest::newRow("printer refuses to start") << "start" << begun << PrintOutcome::Refused;
        QTest::newRow("header line fails")
            << "header" << (begun + QStringList{"discard @8"}) << PrintOutcome::Refused;
        QTest::newRow("printer refuses the job") << "job" << ended << PrintOutcome::Refused;
    }
    void steps() {
        QFETCH(QString, failure);
        QFETCH(QStringList, steps);
        QFETCH(PrintOutcome, outcome);
        RecordingJob job;
        job.refuseStart = failure == "start";
        job.refuseJob = failure == "job";
        if (failure == "header")
            job.surface.fails = [](const RecordingSurface::Op& op) {
                return op.kind == Kind::Number;
            };
        QCOMPARE(PrintCalendar(page(), 3, failure == "no job" ? nullptr : &job,
                               [&job] { job.note(QStringLiteral("sweep")); }),
                 outcome);
        QCOMPARE(job.steps, steps);
    }

    // Every kind of job keeps the one contract: a page goes out only through
    // end(), once, with its copies; end() with nothing begun sends nothing;
    // a discarded or abandoned document is never sent.
    void contract_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("sent");
        for (const char* kind : {"pdf", "cups", "qt"}) {
            QTest::addRow("%s: printed", kind) << kind << "print" << true;
            QTest::addRow("%s: end, nothing begun", kind) << kind << "end" << false;
            QTest::addRow("%s: discarded", kind) << kind << "begin draw discard end" << false;
            QTest::addRow("%s: destroyed while open", kind) << kind << "begin draw" << false;
        }
        QTest::newRow("cups: queue refuses") << "cups"
                                             << "print refused" << false;
    }
    void contract() {
        QFETCH(QString, kind);
        QFETCH(QString, steps);
        QFETCH(bool, sent);
        if (kind == "qt" && steps.contains("draw"))
            QSKIP("Qt's print support hands over a begun page even when it is discarded");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("printed.pdf"));
        QByteArray submitted;
        int copies = 0;
        std::unique_ptr<PrintJob> job;
        if (kind == "pdf")
            job = std::make_unique<PdfJob>();
        else if (kind == "cups")
            job = std::make_unique<CupsJob>(
                "Q", QMarginsF(),
                [&, refuse = steps.contains("refused")](const QString&, const QByteArray& pdf,
                                                        const QString&, int n) {
                    submitted = pdf, copies = n;
                    return !refuse;
                });
        else
            job = PrinterJob::toFile(file);
        bool ended = false;
        if (steps.startsWith("print")) {
            ended = PrintCalendar(page(), 3, job.get(), [] {}) == PrintOutcome::Printed;
        } else {
            if (steps.contains("begin"))
                QVERIFY(job->begin(QStringLiteral("kalender")) != nullptr);
            if (steps.contains("discard"))
                job->discard();
            if (steps.endsWith("end"))
                ended = job->end();
        }
        if (const auto* pdf = dynamic_cast<PdfJob*>(job.get()))
            submitted = pdf->document(), copies = pdf->copies();
        job.reset();
        if (QFile printed(file); kind == "qt" && printed.open(QIODevice::ReadOnly))
            submitted = printed.readAll();
        QCOMPARE(ended, sent);
        QCOMPARE(!submitted.isEmpty() && !steps.contains("refused"), sent);
        if (sent) {
            QVERIFY(submitted.startsWith("%PDF") && submitted.contains("/Count 1"));
            QCOMPARE(copies, kind == "qt" ? 0 : 3);
        }
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
        QVERIFY(PrintCalendar(page(photo), 1, &job, [] {}) == PrintOutcome::Printed);
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
