// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/RenderCalendarBitmap.h"
#include "support/RecordingSurface.h"

#include <QDir>
#include <QPainter>
#include <QTest>

// The page against pictures of it kept under tests/drawing/reference: the
// bitmap page at both sizes, for a year of the table with six-row months, a
// leap year and a year beyond the table; and the drawing operations of the
// printed and the bitmap page, in twips, which show a move of one twip the
// pixels may hide. A font size, a place or a colour that changes fails here;
// when the page is meant to change, tools/update-references.sh makes them
// anew. A failed comparison leaves the actual picture and a picture of the
// differences in the test's build folder.
// On a screen scaled by 2, as on a laptop at 200 %: the page must not know.
static const bool scaled = qputenv("QT_SCALE_FACTOR", "2");

class TestReference : public QObject {
    Q_OBJECT

    static PageContent content(qint32 year) {
        PageContent page{"Familie Jansen",
                         "Rechtsboven",
                         "Voettekst links",
                         "Voettekst rechts",
                         QImage(400, 300, QImage::Format_RGB32),
                         year};
        const QColor quarters[] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}};
        QPainter painter(&page.photo);
        for (int q = 0; q < 4; ++q)
            painter.fillRect(q % 2 * 200, q / 2 * 150, 200, 150, quarters[q]);
        return page;
    }

    static QString referencePath(const QString& name) {
        return QStringLiteral(OSTRABEL_TESTS_DIR "/drawing/reference/") + name;
    }
    static bool updating() { return qEnvironmentVariableIsSet("OSTRABEL_UPDATE_REFERENCES"); }
    static QString failurePath(const QString& name) {
        QDir(QCoreApplication::applicationDirPath()).mkpath(QStringLiteral("reference-failures"));
        return QCoreApplication::applicationDirPath() + QStringLiteral("/reference-failures/") +
               name;
    }

    // One line an operation: what, where in twips, in what size and colour.
    static QByteArray operations(const RecordingSurface& surface) {
        static const char* kinds[] = {"font", "bold",   "size", "colour", "at",
                                      "text", "number", "line", "box",    "picture"};
        QByteArray lines;
        for (const RecordingSurface::Op& op : surface.ops) {
            QStringList fields{QString::fromLatin1(kinds[int(op.kind)])};
            for (const double value : op.args)
                fields << QString::number(value, 'g', 10);
            if (op.color.isValid())
                fields << op.color.name();
            if (op.kind == RecordingSurface::Kind::Text ||
                op.kind == RecordingSurface::Kind::Number)
                fields << QString::number(op.fontSize, 'g', 10);
            if (!op.text.isEmpty())
                fields << QLatin1Char('"') + op.text + QLatin1Char('"');
            lines += fields.join(QLatin1Char(' ')).toUtf8() + '\n';
        }
        return lines;
    }

private Q_SLOTS:
    void bitmap_data() {
        QTest::addColumn<int>("factor");
        QTest::addColumn<qint32>("year");
        QTest::addColumn<bool>("options"); // weeks from Monday, week numbers, holidays
        QTest::newRow("bitmap-1-2005") << 1 << 2005 << false; // January and July have six rows
        QTest::newRow("bitmap-2-2005") << 2 << 2005 << false;
        QTest::newRow("bitmap-1-2012") << 1 << 2012 << false;        // a leap year
        QTest::newRow("bitmap-2-2027") << 2 << 2027 << false;        // beyond the table
        QTest::newRow("bitmap-1-2027-options") << 1 << 2027 << true; // week 53 of 2026 first
        QTest::newRow("bitmap-2-2027-options") << 2 << 2027 << true;
    }
    void bitmap() {
        QFETCH(int, factor);
        QFETCH(qint32, year);
        QFETCH(bool, options);
        const QString name = QString::fromLatin1(QTest::currentDataTag()) + ".png";
        PageContent chosen = content(year);
        if (options) {
            chosen.weekStart = WeekStart::Monday;
            chosen.weekNumbers = chosen.holidays = true;
        }
        const QImage page = RenderCalendarBitmap(chosen, factor);
        if (updating())
            QVERIFY(page.save(referencePath(name)));
        const QImage reference = QImage(referencePath(name)).convertToFormat(QImage::Format_RGB32);
        if (page == reference)
            return;
        QImage differences =
            page.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (reference.isNull() || page.pixel(x, y) != reference.pixel(x, y))
                    differences.setPixel(x, y, qRgb(255, 0, 0));
        page.save(failurePath(name));
        differences.save(failurePath(QStringLiteral("differences-") + name));
        QFAIL(qPrintable(
            QStringLiteral("differs from %1: see %2").arg(referencePath(name), failurePath(name))));
    }

    void operations_data() {
        QTest::addColumn<bool>("printed");
        QTest::newRow("printed-2005") << true;
        QTest::newRow("bitmap-2005") << false;
    }
    void operations() {
        QFETCH(bool, printed);
        RecordingSurface surface;
        PageComposer::compose(surface, content(2005),
                              printed ? PageStyle::printed() : PageStyle::bitmap(1));
        const QString name = QString::fromLatin1(QTest::currentDataTag()) + ".txt";
        const QByteArray actual = operations(surface);
        QFile reference(referencePath(name));
        if (updating())
            QVERIFY(reference.open(QIODevice::WriteOnly) && reference.write(actual) > 0);
        reference.close();
        QVERIFY(reference.open(QIODevice::ReadOnly));
        const QList<QByteArray> expected = reference.readAll().split('\n');
        const QList<QByteArray> lines = actual.split('\n');
        for (qsizetype i = 0; i < qMax(lines.size(), expected.size()); ++i) {
            if (lines.value(i) != expected.value(i)) {
                QFile failed(failurePath(name));
                failed.open(QIODevice::WriteOnly);
                failed.write(actual);
                QFAIL(
                    qPrintable(QStringLiteral("operation %1 is %2, was %3; see %4")
                                   .arg(i + 1)
                                   .arg(QString::fromUtf8(lines.value(i)),
                                        QString::fromUtf8(expected.value(i)), failed.fileName())));
            }
        }
    }
};

QTEST_MAIN(TestReference)
#include "tst_reference.moc"
