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
Q_DECLARE_METATYPE(PageStyle)

namespace {

const QColor black(0, 0, 0);
const QColor red(190, 0, 0);

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

} // namespace

class TestComposer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The printed page draws each of the bitmap's 601 outlines as four lines:
    // top, right, bottom, left.
    void stylesAgree() {
        const RecordingSurface bitmap = record(PageStyle::bitmap(1));
        QCOMPARE(bitmap.of({Kind::Box}).size(), 601);
        QList<Op> asLines;
        for (Op op : bitmap.of({Kind::Line, Kind::Box})) {
            const QList<double> a = op.args;
            const QList<QList<double>> edges = op.kind == Kind::Line
                                                   ? QList<QList<double>>{a}
                                                   : QList<QList<double>>{{a[0], a[1], a[2], a[1]},
                                                                          {a[2], a[1], a[2], a[3]},
                                                                          {a[2], a[3], a[0], a[3]},
                                                                          {a[0], a[3], a[0], a[1]}};
            op.kind = Kind::Line;
            for (const QList<double>& edge : edges) {
                op.args = edge;
                asLines << op;
            }
        }
        QVERIFY(record(PageStyle::printed()).of({Kind::Line, Kind::Box}) == asLines);
    }

    void layout_data() {
        QTest::addColumn<PageStyle>("style");
        QTest::addColumn<qint32>("year");
        const std::pair<const char*, PageStyle> styles[]{{"printed", PageStyle::printed()},
                                                         {"bitmap f=1", PageStyle::bitmap(1)},
                                                         {"bitmap f=2", PageStyle::bitmap(2)}};
        for (const auto& [name, style] : styles)
            for (const qint32 year : {2000, 2005, 2009, 2012, 2020, 1999, 2027, -4713,
                                      std::numeric_limits<qint32>::max()})
                QTest::addRow("%s %d", name, year) << style << year;
    }

    // Every text of the page in order, with its place, size and colour; the
    // day numbers where the real calendar puts them; the photo after the
    // header line, then its frame.
    void layout() {
        QFETCH(PageStyle, style);
        QFETCH(qint32, year);
        const int f = style.scale;
        const PageContent page = content(year);
        const RecordingSurface surface = record(style, page);
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
        const auto rightAligned = [&](int edge, const QFont& font, const QString& text) {
            return edge - TextMeasure::widthTwips(font, text);
        };

        QCOMPARE(surface.ops[0].text, QStringLiteral("Arial"));
        QCOMPARE(surface.ops[1].args, QList<double>{1});
        QCOMPARE(surface.of({Kind::FontName, Kind::Bold}).size(), 2);
        next(page.headerLeft, 900, 450, 20, black);
        next((year < 0 ? "" : " ") + QString::number(year) + " ", 5220, 450, 20, black);
        next(page.headerRight,
             rightAligned(style.headerRightEdge, style.headerMeasureFont, page.headerRight), 450,
             20, black);
        QList<Kind> drawn;
        for (const Op& op :
             surface.of({Kind::Text, Kind::Number, Kind::Picture, Kind::Box, Kind::Line}))
            drawn << op.kind;
        QCOMPARE(drawn.mid(0, 4),
                 QList<Kind>({Kind::Text, Kind::Number, Kind::Text, Kind::Picture}));
        QCOMPARE(surface.of({Kind::Picture})[0].args.mid(0, 4),
                 QList<double>({900. * f, 1050. * f, 9800. * f, 6600. * f}));
        for (int month = 1; month <= 12; ++month) {
            const int x = 870 + (month - 1) % 4 * 2505;
            const int y = 8220 + (month - 1) / 4 * 2580;
            next(MonthTable::name(month), x + 630, y + 30, 10, QColor(32, 32, 32));
            for (int c = 0; c < 7; ++c)
                next(QStringLiteral("ZoMaDiWoDoVrZa").mid(2 * c, 2), x + 330 * c + 60, y + 360, 8,
                     QColor(0, 0, 200));
            const QDate first(year <= 0 ? year - 1 : year, month, 1);
            for (int day = 1, cell = first.dayOfWeek() % 7; day <= first.daysInMonth();
                 ++day, ++cell)
                next(QStringLiteral(" %1 ").arg(day), x + 330 * (cell % 7) + 30,
                     y + 300 * (cell / 7 + 1) + 345, 8,
                     cell % 7 == 0 || cell % 7 == 6 ? red : style.dayNumberColor);
        }
        // The footer texts keep the last day cell's red (and on the bitmap its size).
        const double footerSize = style.footerFontSize.value_or(8 * f) / f;
        next(page.footerLeft, 900, 7720, footerSize, red);
        next(page.footerRight,
             rightAligned(style.footerRightEdge, style.footerMeasureFont, page.footerRight), 7720,
             footerSize, red);
        next(PageComposer::creditLine, 4800, 7720, footerSize, QColor(170, 170, 170));
        QCOMPARE(i, prints.size());
    }

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
