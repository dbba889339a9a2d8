#include "calendar/MonthTable.h"
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"
#include "support/RecordingSurface.h"

#include <QDate>
#include <QTest>
#include <limits>

using Kind = RecordingSurface::Kind;
using Op = RecordingSurface::Op;
using Failing = std::function<bool(const Op&)>;
Q_DECLARE_METATYPE(PageStyle)

namespace {

const QColor black(0, 0, 0);
const QColor red(190, 0, 0);

PageContent content(qint32 year) {
    PageContent page;
    page.headerLeft = QStringLiteral("Familie Jansen");
    page.headerRight = QStringLiteral("Koptekst rechts");
    page.footerLeft = QStringLiteral("Voettekst links");
    page.footerRight = QStringLiteral("Voettekst rechts");
    page.photo = QImage(400, 300, QImage::Format_RGB32);
    page.year = year;
    return page;
}

RecordingSurface record(const PageStyle& style, qint32 year = 2005, Failing fails = {}) {
    RecordingSurface surface;
    surface.fails = std::move(fails);
    PageComposer::compose(surface, content(year), style);
    return surface;
}

void compareOps(const QList<Op>& actual, const QList<Op>& expected) {
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        const Op &a = actual[i], &e = expected[i];
        if (a.kind != e.kind || a.args != e.args || a.text != e.text || a.color != e.color ||
            a.fontSize != e.fontSize)
            QFAIL(qPrintable(QStringLiteral("op %1 differs").arg(i)));
    }
}

// The real calendar's first day of a month, as (weekday 0 = Sunday, days).
std::pair<int, int> realMonth(qint32 year, int month) {
    const qint64 y = year == std::numeric_limits<qint32>::min() ? qint64(year) + 400 : year;
    const QDate first(int(y <= 0 ? y - 1 : y), month, 1);
    return {first.dayOfWeek() % 7, first.daysInMonth()};
}

} // namespace

class TestPageComposer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The printed page draws each of the bitmap's 601 outlines as four lines:
    // top, right, bottom, left.
    void printedOutlinesAreFourLines() {
        const RecordingSurface bitmap = record(PageStyle::bitmap(1));
        QCOMPARE(bitmap.of({Kind::Box}).size(), 601);
        QList<Op> expected;
        for (const Op& op : bitmap.of({Kind::Line, Kind::Box})) {
            QCOMPARE(op.color, black);
            const double x1 = op.args[0], y1 = op.args[1], x2 = op.args[2], y2 = op.args[3];
            const QList<QList<double>> edges =
                op.kind == Kind::Line
                    ? QList<QList<double>>{op.args}
                    : QList<QList<double>>{
                          {x1, y1, x2, y1}, {x2, y1, x2, y2}, {x2, y2, x1, y2}, {x1, y2, x1, y1}};
            for (const QList<double>& edge : edges) {
                Op line = op;
                line.kind = Kind::Line;
                line.args = edge;
                expected.append(line);
            }
        }
        compareOps(record(PageStyle::printed()).of({Kind::Line, Kind::Box}), expected);
    }

    // The big bitmap is the small one with every coordinate and size doubled.
    void bitmapScalesExactly() {
        QList<Op> doubled = record(PageStyle::bitmap(1)).ops;
        for (Op& op : doubled) {
            // Not the printed number, the bold flag or the photo's own size.
            const qsizetype twips = op.kind == Kind::Number    ? 2
                                    : op.kind == Kind::Bold    ? 0
                                    : op.kind == Kind::Picture ? 4
                                                               : op.args.size();
            for (qsizetype i = 0; i < twips; ++i)
                op.args[i] *= 2;
            op.fontSize *= 2;
        }
        compareOps(record(PageStyle::bitmap(2)).ops, doubled);
    }

    void layout_data() {
        QTest::addColumn<PageStyle>("style");
        QTest::addColumn<qint32>("year");
        const QList<std::pair<const char*, PageStyle>> styles{{"printed", PageStyle::printed()},
                                                              {"bitmap f=1", PageStyle::bitmap(1)},
                                                              {"bitmap f=2", PageStyle::bitmap(2)}};
        for (const auto& [name, style] : styles)
            for (const qint32 year :
                 {2000, 2005, 2007, 2009, 2012, 2020, 1999, 2027, 1582, -4713,
                  std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min()})
                QTest::addRow("%s %d", name, year) << style << year;
    }

    // Every text of the page in order, with its place, size and colour; the
    // day numbers where the real calendar puts them.
    void layout() {
        QFETCH(PageStyle, style);
        QFETCH(qint32, year);
        const int f = style.scale;
        const PageContent page = content(year);
        const RecordingSurface surface = record(style, year);
        const QList<Op> prints = surface.prints();
        qsizetype i = 0;
        const auto next = [&](const QString& text, double x, double y, double size,
                              const QColor& color) {
            QVERIFY(i < prints.size());
            const Op& op = prints[i++];
            QCOMPARE(op.text, text);
            QCOMPARE(op.args.mid(0, 2), QList<double>({x * f, y * f}));
            QCOMPARE(op.fontSize, size * f);
            QCOMPARE(op.color, color);
        };
        const auto rightEdge = [&](int edge, const QFont& font, const QString& text) {
            return edge - TextMeasure::widthTwips(font, text);
        };

        // Arial bold, once for the whole page.
        QCOMPARE(surface.ops[0].text, QStringLiteral("Arial"));
        QCOMPARE(surface.ops[1].args, QList<double>{1});
        QCOMPARE(surface.of({Kind::FontName, Kind::Bold}).size(), 2);
        next(page.headerLeft, 900, 450, 20, black);
        next((year < 0 ? "" : " ") + QString::number(year) + " ", 5220, 450, 20, black);
        next(page.headerRight,
             rightEdge(style.headerRightEdge, style.headerMeasureFont, page.headerRight), 450, 20,
             black);
        for (int month = 1; month <= 12; ++month) {
            const int x = 870 + (month - 1) % 4 * 2505;
            const int y = 8220 + (month - 1) / 4 * 2580;
            next(MonthTable::name(month), x + 630, y + 30, 10, QColor(32, 32, 32));
            for (int c = 0; c < 7; ++c)
                next(QStringLiteral("ZoMaDiWoDoVrZa").mid(2 * c, 2), x + 330 * c + 60, y + 360, 8,
                     QColor(0, 0, 200));
            const auto [first, days] = realMonth(year, month);
            for (int day = 1, cell = first; day <= days; ++day, ++cell)
                next(QStringLiteral(" %1 ").arg(day), x + 330 * (cell % 7) + 30,
                     y + 300 * (cell / 7 + 1) + 345, 8,
                     cell % 7 == 0 || cell % 7 == 6 ? red : style.dayNumberColor);
        }
        // The footer texts keep the last day cell's red (and on the bitmap its size).
        const double footerSize = style.footerFontSize.value_or(8 * f) / f;
        next(page.footerLeft, 900, 7720, footerSize, red);
        next(page.footerRight,
             rightEdge(style.footerRightEdge, style.footerMeasureFont, page.footerRight), 7720,
             footerSize, red);
        next(PageComposer::creditLine, 4800, 7720, footerSize, QColor(170, 170, 170));
        QCOMPARE(i, prints.size());

        // The photo comes right after the header line, then its frame.
        qsizetype photo = 0;
        for (int headerPrints = 0; headerPrints < 3; ++photo)
            headerPrints +=
                surface.ops[photo].kind == Kind::Text || surface.ops[photo].kind == Kind::Number;
        QCOMPARE(surface.ops[photo].kind, Kind::Picture);
        QCOMPARE(surface.ops[photo].args.mid(0, 4),
                 QList<double>({900. * f, 1050. * f, 9800. * f, 6600. * f}));
        QCOMPARE(surface.ops[photo + 1].args.mid(0, 2), QList<double>({870. * f, 1020. * f}));
    }

    void failures_data() {
        QTest::addColumn<PageStyle>("style");
        QTest::addColumn<Failing>("fails");
        QTest::addColumn<bool>("completes");
        QTest::addColumn<int>("missingOps");
        QTest::newRow("year fails: page stops")
            << PageStyle::bitmap(1)
            << Failing([](const Op& op) { return op.kind == Kind::Number && op.args[2] == 2005; })
            << false << 0;
        QTest::newRow("no photo: rest drawn")
            << PageStyle::bitmap(2)
            << Failing([](const Op& op) { return op.kind == Kind::Picture; }) << true << 0;
        // DrawBox gives up on an outline at its first failing line.
        QTest::newRow("frame's top edge fails: its other edges left out")
            << PageStyle::printed() << Failing([](const Op& op) {
                   return op.kind == Kind::Line && op.args == QList<double>{870, 1020, 10730, 1020};
               })
            << true << 3;
    }

    void failures() {
        QFETCH(PageStyle, style);
        QFETCH(Failing, fails);
        QFETCH(bool, completes);
        QFETCH(int, missingOps);
        RecordingSurface surface;
        surface.fails = fails;
        QCOMPARE(PageComposer::compose(surface, content(2005), style), completes);
        if (!completes) {
            QVERIFY(surface.ops.last().failed);
            QVERIFY(surface.of({Kind::Picture}).isEmpty());
            return;
        }
        QCOMPARE(surface.ops.size(), record(style).ops.size() - missingOps);
        QCOMPARE(surface.ops.last().text, PageComposer::creditLine);
    }
};

QTEST_MAIN(TestPageComposer)
#include "tst_PageComposer.moc"
