// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"
#include "support/RecordingSurface.h"

#include <QDate>
#include <QFontMetricsF>
#include <QTest>

using Op = RecordingSurface::Op;
Q_DECLARE_METATYPE(PageStyle)
Q_DECLARE_METATYPE(WeekStart)

namespace {

PageContent content(qint32 year) {
    return {"Familie Jansen",
            "Rechtsboven",
            "Voettekst links",
            "Voettekst rechts",
            QImage(400, 300, QImage::Format_RGB32),
            year};
}

RecordingSurface record(const PageStyle& style, const PageContent& page = content(2005)) {
    RecordingSurface surface;
    PageComposer::compose(surface, page, style);
    return surface;
}

// Whether a print's box, one pixel larger all round, holds no other print's
// box and meets no line or outline.
bool clear(const Op& print, const RecordingSurface& surface, const PageStyle& style) {
    const auto boxOf = [&](const Op& op) {
        const QFontMetricsF metrics(PageStyle::font(op.fontSize / style.scale));
        return QRectF(
            op.args[0], op.args[1],
            TextMeasure::widthTwips(PageStyle::font(op.fontSize / style.scale), op.text.trimmed()) *
                style.scale,
            metrics.height() * 15 * style.scale);
    };
    const QRectF mine = boxOf(print).adjusted(-15, -15, 15, 15);
    for (const Op& op : surface.ops) {
        if ((op.kind == RecordingSurface::Kind::Text ||
             op.kind == RecordingSurface::Kind::Number) &&
            !(op == print) && boxOf(op).intersects(mine))
            return false;
        const QList<QLineF> lines =
            op.kind == RecordingSurface::Kind::Line
                ? QList<QLineF>{{op.args[0], op.args[1], op.args[2], op.args[3]}}
            : op.kind == RecordingSurface::Kind::Box
                ? QList<QLineF>{{op.args[0], op.args[1], op.args[2], op.args[1]},
                                {op.args[2], op.args[1], op.args[2], op.args[3]},
                                {op.args[0], op.args[3], op.args[2], op.args[3]},
                                {op.args[0], op.args[1], op.args[0], op.args[3]}}
                : QList<QLineF>{};
        for (const QLineF& line : lines)
            if (mine.intersects(QRectF(line.p1(), line.p2()).normalized().adjusted(0, 0, 1, 1)))
                return false;
    }
    return true;
}

} // namespace

class TestComposer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A text that fits is drawn at its size; one that would run into its
    // neighbour on the line (the year, the credit line) is drawn smaller, so
    // that it ends where its part of the line ends, on the same baseline.
    void longTexts_data() {
        QTest::addColumn<PageStyle>("style");
        QTest::addColumn<int>("slot"); // header left, header right, footer left, footer right
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("shrunk");
        const QString words = QStringLiteral("Familie Jansen-de Vries uit Amsterdam-Noord");
        for (const auto& [name, style] : {std::pair{"bitmap", PageStyle::bitmap(1)},
                                          std::pair{"bitmap f=2", PageStyle::bitmap(2)},
                                          std::pair{"printed", PageStyle::printed()}}) {
            QTest::addRow("%s: header left fits", name) << style << 0 << words.left(20) << false;
            QTest::addRow("%s: header left, 30 letters", name)
                << style << 0 << words.left(30) << true;
            QTest::addRow("%s: header right, 40 letters", name)
                << style << 1 << words.left(40) << true;
            QTest::addRow("%s: footer left, 86 letters", name)
                << style << 2 << words + words << true;
            QTest::addRow("%s: footer right, 10000 letters", name)
                << style << 3 << QString(10000, QLatin1Char('x')) << true;
        }
    }
    void longTexts() {
        QFETCH(PageStyle, style);
        QFETCH(int, slot);
        QFETCH(QString, text);
        QFETCH(bool, shrunk);
        PageContent page = content(2027);
        QString* texts[] = {&page.headerLeft, &page.headerRight, &page.footerLeft,
                            &page.footerRight};
        *texts[slot] = text;
        const QList<Op> prints = record(style, page).prints();
        const Op drawn = prints[slot < 2 ? slot * 2 : prints.size() - 5 + slot];
        const Op year = prints[1], credit = prints.last();
        QCOMPARE(drawn.text, text);
        const double f = style.scale;
        const double size = slot < 2 ? 20 * f : credit.fontSize;
        QCOMPARE(drawn.fontSize < size, shrunk);
        const auto width = [&](const Op& op) {
            QFont font(QStringLiteral("Arial"));
            font.setBold(true);
            font.setPointSizeF(op.fontSize / f);
            return TextMeasure::widthTwips(font, op.text) * f;
        };
        const double left = drawn.args[0], right = left + width(drawn);
        if (slot == 0)
            QVERIFY(right <= year.args[0]);
        else if (slot == 1)
            QVERIFY(left >= year.args[0] + width(year));
        else if (slot == 2)
            QVERIFY(right < credit.args[0]);
        else
            QVERIFY(left > credit.args[0] + width(credit));
        // Shrunk or not, the text stands on its line's baseline.
        const double top = drawn.args[1];
        QVERIFY(shrunk ? top > (slot < 2 ? year.args[1] : credit.args[1])
                       : top == (slot < 2 ? year.args[1] : credit.args[1]));
    }

    // Weeks from Monday or Sunday, week numbers and holidays, every year from
    // 1900 to 2100 against QDate: the day names begin with the week's first
    // day; the days of a month stand in columns by weekday in that order, red
    // on Saturday, Sunday and (as 2027 has them) a public holiday; each row
    // that holds a day carries the ISO week of its Monday; and a week number
    // touches no other text and no line.
    void calendarOptions_data() {
        QTest::addColumn<WeekStart>("start");
        QTest::addColumn<PageStyle>("style");
        QTest::newRow("from Monday, bitmap") << WeekStart::Monday << PageStyle::bitmap(2);
        QTest::newRow("from Sunday, printed") << WeekStart::Sunday << PageStyle::printed();
    }
    void calendarOptions() {
        QFETCH(WeekStart, start);
        QFETCH(PageStyle, style);
        const int first = start == WeekStart::Monday ? 1 : 7; // Qt's day of the week
        const QSet<QDate> holidays2027{{2027, 1, 1},  {2027, 3, 29},  {2027, 4, 27},
                                       {2027, 5, 6},  {2027, 5, 17},  {2027, 3, 28},
                                       {2027, 5, 16}, {2027, 12, 25}, {2027, 12, 26}};
        for (qint32 year = 1900; year <= 2100; ++year) {
            PageContent page = content(year);
            page.weekStart = start;
            page.weekNumbers = page.holidays = true;
            const RecordingSurface surface = record(style, page);
            QStringList names;
            QList<QPair<QDate, Op>> days; // after the header's year
            QList<Op> weeks;
            for (const Op& op : surface.of({RecordingSurface::Kind::Text})) {
                if (op.text.size() == 2 && op.text[0].isUpper())
                    names << op.text;
                else if (op.text.toInt() > 0)
                    weeks << op;
            }
            for (const Op& op : surface.of({RecordingSurface::Kind::Number})) {
                if (op.args[2] != year || !days.isEmpty()) {
                    const int month = days.isEmpty() ? 1 : days.last().first.addDays(1).month();
                    days.append({QDate(year, month, int(op.args[2])), op});
                }
            }
            QCOMPARE(names.first(), start == WeekStart::Monday ? "Ma" : "Zo");
            QCOMPARE(days.size(), QDate(year, 1, 1).daysInYear());
            QHash<int, double> column; // of a month, by the day's place in its week
            int weekOfMonth = 0;
            for (const auto& [date, op] : days) {
                if (date.day() == 1)
                    column.clear();
                const int place = (date.dayOfWeek() - first + 7) % 7;
                QCOMPARE(column.value(place, op.args[0]), op.args[0]);
                column[place] = op.args[0];
                for (auto other = column.cbegin(); other != column.cend(); ++other)
                    QCOMPARE(other.key() < place, other.value() < op.args[0]);
                const bool red = date.dayOfWeek() >= 6 || holidays2027.contains(date);
                if (year == 2027 || date.dayOfWeek() >= 6)
                    QCOMPARE(op.color == QColor(190, 0, 0), red);
                if (date.day() == 1 || place == 0) {
                    const Op& week = weeks.at(weekOfMonth++);
                    const int monday = (1 - first + 7) % 7; // its place in the week
                    QCOMPARE(week.text.toInt(), date.addDays(monday - place).weekNumber());
                    QVERIFY(qAbs(week.args[1] - op.args[1]) < 150 * style.scale);
                }
            }
            QCOMPARE(weekOfMonth, weeks.size());
            if (year == 2027)
                for (const Op& week : weeks)
                    QVERIFY2(clear(week, surface, style), qPrintable(week.text));
        }
    }

    // A text pasted with a line break or tab is one line on the page, drawn
    // as it is measured: the right header still ends at its edge.
    void controlCharactersAreBlanks() {
        PageContent page = content(2005);
        page.headerRight = QStringLiteral("Regel\neen\ttwee\u2028!");
        const QString drawn = QStringLiteral("Regel een twee !");
        const PageStyle style = PageStyle::bitmap(1);
        const Op header = record(style, page).prints()[2];
        QCOMPARE(header.text, drawn);
        QCOMPARE(header.args[0], 10815 - TextMeasure::widthTwips(style.headerMeasureFont, drawn));
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
