#include "drawing/PageContent.h"
#include "printing/CopyCount.h"
#include "printing/PrintCalendar.h"
#include "printing/PrintJob.h"
#include "support/RecordingSurface.h"

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

PageContent page(qint32 year, QSize photo = QSize(400, 300)) {
    PageContent content;
    content.headerLeft = QStringLiteral("Koptekst links");
    content.headerRight = QStringLiteral("Koptekst rechts");
    content.footerLeft = QStringLiteral("Voettekst links");
    content.footerRight = QStringLiteral("Voettekst rechts");
    content.photo = QImage(photo, QImage::Format_RGB32);
    content.photo.fill(Qt::darkCyan);
    content.year = year;
    return content;
}

} // namespace

class TestPrintCalendar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Set-up and copies before the first drawing, the page drawn once in the
    // printed style, then the sweep, then the end of the document.
    void printsInOrder() {
        RecordingJob job;
        const PrintOutcome outcome = PrintCalendar(page(2009), QStringLiteral("3"), job,
                                                   [&job] { job.note(QStringLiteral("sweep")); });
        QVERIFY(outcome.printed);
        QVERIFY(outcome.message.isEmpty());
        const qsizetype drawn = job.surface.ops.size();
        QCOMPARE(job.steps, QStringList({QStringLiteral("set-up @0"), QStringLiteral("copies 3 @0"),
                                         QStringLiteral("begin Ostrabel kalender 2009 @0"),
                                         QStringLiteral("sweep @%1").arg(drawn),
                                         QStringLiteral("end @%1").arg(drawn)}));
        // Composed once, outlines as four lines: 601 of them plus 12 rules.
        QCOMPARE(job.surface.of(Kind::Line).size(), 601 * 4 + 12);
        QCOMPARE(job.surface.of(Kind::Box).size(), 0);
        QCOMPARE(job.surface.of(Kind::Picture).size(), 1);
        QCOMPARE(job.surface.prints().first().text, QStringLiteral("Koptekst links"));
    }

    // Each failure sends nothing and says why: the document is not even
    // opened for a bad copy count, and a job the printer refuses is reported
    // although the page was drawn and swept.
    void failuresSendNothing_data() {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("message");

        QTest::newRow("zero copies")
            << QStringLiteral("0") << QString() << QStringList{QStringLiteral("set-up")}
            << CopyCount::invalidMessage();

        const QString two = QStringLiteral("2");
        const QStringList started{QStringLiteral("set-up"), QStringLiteral("copies 2"),
                                  QStringLiteral("begin Ostrabel kalender 2005")};
        QTest::newRow("printer refuses to start")
            << two << QStringLiteral("start") << started << QString();
        QTest::newRow("header line fails")
            << two << QStringLiteral("header") << (started + QStringList{QStringLiteral("discard")})
            << QString();
        QTest::newRow("printer refuses the job")
            << two << QStringLiteral("job")
            << (started + QStringList{QStringLiteral("sweep"), QStringLiteral("end")}) << QString();
    }
    void failuresSendNothing() {
        QFETCH(QString, copies);
        QFETCH(QString, failure);
        QFETCH(QStringList, steps);
        QFETCH(QString, message);

        RecordingJob job;
        job.refuseStart = failure == QStringLiteral("start");
        job.refuseJob = failure == QStringLiteral("job");
        if (failure == QStringLiteral("header"))
            job.surface.fails = [](const RecordingSurface::Op& op) {
                return op.kind == Kind::Number;
            };
        const PrintOutcome outcome =
            PrintCalendar(page(2005), copies, job, [&job] { job.note(QStringLiteral("sweep")); });

        QVERIFY(!outcome.printed);
        QVERIFY(!outcome.message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(outcome.message, message);
        QStringList names;
        for (const QString& step : job.steps)
            names << step.section(QStringLiteral(" @"), 0, 0);
        QCOMPARE(names, steps);
    }

    // However large the photo, the printer gets it at no more than 600 dpi
    // over the 9800 x 6600 twip area; a small photo goes as it is.
    void photoAtMost600Dpi_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSize>("sent");
        QTest::newRow("24 megapixels") << QSize(6000, 4000) << QSize(4084, 2750);
        QTest::newRow("small") << QSize(400, 300) << QSize(400, 300);
        QTest::newRow("exactly 600 dpi") << QSize(4084, 2750) << QSize(4084, 2750);
        QTest::newRow("tall panorama") << QSize(1000, 9000) << QSize(1000, 2750);
        QTest::newRow("no photo") << QSize() << QSize(0, 0);
    }
    void photoAtMost600Dpi() {
        QFETCH(QSize, photo);
        QFETCH(QSize, sent);
        RecordingJob job;
        QVERIFY(PrintCalendar(page(2005, photo), QStringLiteral("1"), job, [] {}).printed);
        const RecordingSurface::Op picture = job.surface.of(Kind::Picture).value(0);
        QCOMPARE(QSize(int(picture.args.value(4)), int(picture.args.value(5))), sent);
        QCOMPARE(picture.args.mid(0, 4), QList<double>({900, 1050, 9800, 6600}));
    }
};

QTEST_MAIN(TestPrintCalendar)
#include "tst_PrintCalendar.moc"
