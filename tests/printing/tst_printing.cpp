#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "printing/CopyCount.h"
#include "printing/PrintCalendar.h"
#include "printing/PrintJob.h"
#include "printing/PrinterSurface.h"
#include "support/RecordingSurface.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Kind = RecordingSurface::Kind;

namespace {

// Writes down what the page asks of the printer, each step with the number
// of drawing operations done before it, so the order shows.
class RecordingJob : public PrintJob {
public:
    RecordingSurface surface;
    QStringList steps;
    bool refuseStart = false;
    bool refuseJob = false;

    void setUpPage() override { note(QStringLiteral("set-up")); }
    void setCopyCount(qint16 copies) override { note(QStringLiteral("copies %1").arg(copies)); }
    DrawingSurface* begin(const QString& documentName) override {
        note(QStringLiteral("begin ") + documentName);
        return refuseStart ? nullptr : &surface;
    }
    bool end() override {
        note(QStringLiteral("end"));
        return !refuseJob;
    }
    void discard() override { note(QStringLiteral("discard")); }
    void note(const QString& step) {
        steps << QStringLiteral("%1 @%2").arg(step).arg(surface.ops.size());
    }
};

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
    // printed style, then the sweep, then the end of the document.
    void printsInOrder() {
        RecordingJob job;
        const PrintOutcome outcome = PrintCalendar(page(), QStringLiteral("3"), &job,
                                                   [&job] { job.note(QStringLiteral("sweep")); });
        QVERIFY(outcome.printed);
        const qsizetype drawn = job.surface.ops.size();
        QCOMPARE(job.steps,
                 QStringList({"set-up @0", "copies 3 @0", "begin Ostrabel kalender 2009 @0",
                              QStringLiteral("sweep @%1").arg(drawn),
                              QStringLiteral("end @%1").arg(drawn)}));
        QCOMPARE(job.surface.of({Kind::Line}).size(), 601 * 4 + 12);
        QCOMPARE(job.surface.of({Kind::Picture}).size(), 1);
    }

    // Each failure sends nothing and says why: the document is not even
    // opened for a bad copy count, and a job the printer refuses is reported
    // although the page was drawn and swept.
    void failuresSendNothing_data() {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("steps");
        const QStringList started{"set-up", "copies 2", "begin Ostrabel kalender 2009"};
        QTest::newRow("no printer") << "2"
                                    << "no job" << QStringList();
        QTest::newRow("zero copies") << "0" << QString() << QStringList{"set-up"};
        QTest::newRow("printer refuses to start") << "2"
                                                  << "start" << started;
        QTest::newRow("header line fails") << "2"
                                           << "header" << (started + QStringList{"discard"});
        QTest::newRow("printer refuses the job")
            << "2"
            << "job" << (started + QStringList{"sweep", "end"});
    }
    void failuresSendNothing() {
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
        QVERIFY(!outcome.printed);
        QVERIFY(!outcome.message.isEmpty());
        QStringList names;
        for (const QString& step : job.steps)
            names << step.section(QStringLiteral(" @"), 0, 0);
        QCOMPARE(names, steps);
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

    // The printed page through Qt's PDF printer, read back word by word:
    // twips count from the printable area's corner, fonts keep their size,
    // and the right footer ends at 10695 as measured in its 9 pt label font.
    void wordsWhereThePageSays() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        printer.setPageMargins(QMarginsF(10, 5, 10, 5), QPageLayout::Millimeter);
        PageContent content;
        content.footerRight = QStringLiteral("Onderaan");
        QPainter painter(&printer);
        PrinterSurface surface(painter, printer);
        QVERIFY(PageComposer::compose(surface, content, PageStyle::printed()));
        painter.end();

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {"-bbox", printer.outputFileName(), "-"});
        QVERIFY2(pdftotext.waitForFinished(), "pdftotext (poppler-utils) is needed");
        const QString words = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QPointF origin = printer.pageLayout().paintRectPoints().topLeft();
        // Where each word starts, in twips, and its size; a number starts
        // with a blank of 0.278 em. A line of Arial is about 1.15 em high.
        const std::tuple<QString, double, double, double> expected[]{
            {"2005", 5220 + 0.278 * 20 * 20, 450, 20},
            {"Januari", 870 + 630 + 2 * 0.278 * 10 * 20, 8250, 10},
            {"31", 870 + 330 + 30 + 0.278 * 8 * 20, 8220 + 1800 + 345, 8},
            {PageComposer::creditLine, 4800, 7720, 9}};
        for (const auto& [word, x, y, points] : expected) {
            const QRegularExpression box(
                QStringLiteral(
                    R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">%1<)re")
                    .arg(QRegularExpression::escape(word)));
            bool found = false;
            for (const auto& m : box.globalMatch(words)) {
                const QPointF at(m.captured(1).toDouble(), m.captured(2).toDouble());
                found = found ||
                        ((at - origin - QPointF(x, y) / 20).manhattanLength() < 1.5 &&
                         qAbs(m.captured(3).toDouble() - at.y() - 1.15 * points) < 0.1 * points);
            }
            QVERIFY2(found, qPrintable(word));
        }
        const auto right = QRegularExpression(R"re(xMax="([\d.]+)"[^>]*>Onderaan<)re").match(words);
        QVERIFY(qAbs(right.captured(1).toDouble() - origin.x() - 10695 / 20.) < 2);
    }

    // A page that fits the printable area is drawn as it is; one that does
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
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
