#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/PrinterSurface.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The printed page through Qt's PDF printer, read back word by word: twips
// count from the printable area's corner and fonts keep their true size.
class TestPrinterSurface : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wordsWhereThePageSays() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        printer.setPageMargins(QMarginsF(10, 12, 10, 12), QPageLayout::Millimeter);
        PageContent content;
        content.footerRight = QStringLiteral("Onderaan");
        QPainter painter(&printer);
        PrinterSurface surface(painter, printer);
        QVERIFY(PageComposer::compose(surface, content, PageStyle::printed()));
        painter.end();

        QProcess process;
        process.start(pdftotext, {QStringLiteral("-bbox"), printer.outputFileName(), "-"});
        QVERIFY(process.waitForFinished());
        const QString words = QString::fromUtf8(process.readAllStandardOutput());
        // Where each word must start, in twips, and its font size; a number
        // starts with a blank of 0.278 em.
        const QPointF origin = printer.pageLayout().paintRectPoints().topLeft();
        const QList<std::tuple<QString, double, double, double>> expected{
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
                const double height = m.captured(3).toDouble() - at.y();
                // A line of Arial is about 1.15 em high.
                found = found || ((at - origin - QPointF(x, y) / 20).manhattanLength() < 1.5 &&
                                  qAbs(height - 1.15 * points) < 0.1 * points);
            }
            QVERIFY2(found, qPrintable(word));
        }
        // Measured in the 9 pt label font, the right footer ends at 10695.
        const auto right =
            QRegularExpression(QStringLiteral(R"re(xMax="([\d.]+)"[^>]*>Onderaan<)re"))
                .match(words);
        QVERIFY(qAbs(right.captured(1).toDouble() - origin.x() - 10695 / 20.) < 2);
    }
};

QTEST_MAIN(TestPrinterSurface)
#include "tst_PrinterSurface.moc"
