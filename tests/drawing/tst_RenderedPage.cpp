#include "drawing/PageContent.h"
#include "preview/RenderCalendarBitmap.h"

#include <QDate>
#include <QDir>
#include <QPainter>
#include <QTest>
#include <functional>

using Match = std::function<bool(QColor)>;

// Probes on real renders: where the page must have ink, in which colour, and
// where it must have none. A failing render is saved for a look.
class TestRenderedPage : public QObject {
    Q_OBJECT

    const QColor background{255, 255, 240};
    const QList<QColor> quadrants{{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}};
    QImage m_page;
    int m_f = 1;

    int px(int twips) const { return twips * m_f / 15; }
    // The pixels strictly inside the lines at twips x1, y1, x2, y2.
    QRect inside(int x1, int y1, int x2, int y2) const {
        return QRect(QPoint(px(x1) + 1, px(y1) + 1), QPoint(px(x2) - 1, px(y2) - 1));
    }
    int count(const QRect& area, const Match& matches) const {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += matches(m_page.pixelColor(x, y));
        return n;
    }
    bool inked(const QRect& area, const Match& matches) const {
        return count(area, matches) > 3 * m_f;
    }
    int ink(const QRect& area) const {
        return count(area, [this](QColor c) { return c != background; });
    }
    static bool red(QColor c) { return c.red() > 120 && c.green() < 70 && c.blue() < 70; }
    static bool blue(QColor c) { return c.blue() > 120 && c.red() < 70 && c.green() < 70; }
    static Match grey(int darkest, int lightest) {
        return [=](QColor c) {
            return qAbs(c.red() - c.green()) < 6 && qAbs(c.green() - c.blue()) < 20 &&
                   c.red() >= darkest && c.red() <= lightest;
        };
    }
    static bool black(QColor c) { return c == Qt::black; }

private Q_SLOTS:
    void cleanup() {
        const QString dir = qEnvironmentVariable("OSTRABEL_TEST_OUTPUT");
        if (QTest::currentTestFailed() && !dir.isEmpty()) {
            QDir().mkpath(dir);
            m_page.save(
                QDir(dir).filePath(QStringLiteral("page %1.png").arg(QTest::currentDataTag())));
        }
    }

    void page_data() {
        QTest::addColumn<int>("factor");
        QTest::addColumn<qint32>("year");
        QTest::addColumn<bool>("withTexts");
        QTest::addColumn<bool>("withPhoto");
        for (const int f : {1, 2}) {
            QTest::addRow("f=%d 2005", f) << f << 2005 << true << true;
            QTest::addRow("f=%d 2009 no photo", f) << f << 2009 << true << false;
            QTest::addRow("f=%d 2027 no texts", f) << f << 2027 << false << true;
        }
    }

    void page() {
        QFETCH(int, factor);
        QFETCH(qint32, year);
        QFETCH(bool, withTexts);
        QFETCH(bool, withPhoto);
        m_f = factor;
        PageContent content;
        if (withTexts) {
            content.headerLeft = QStringLiteral("Familie Jansen");
            content.headerRight = QStringLiteral("Koptekst rechts");
            content.footerLeft = QStringLiteral("Voettekst links");
            content.footerRight = QStringLiteral("Voettekst rechts");
        }
        if (withPhoto) {
            content.photo = QImage(400, 300, QImage::Format_RGB32);
            QPainter painter(&content.photo);
            for (int q = 0; q < 4; ++q)
                painter.fillRect(q % 2 * 200, q / 2 * 150, 200, 150, quadrants[q]);
        }
        content.year = year;
        m_page = QImage(770 * m_f, 1100 * m_f, QImage::Format_RGB32);
        m_page.fill(background);
        RenderCalendarBitmap(m_page, content, m_f);

        QCOMPARE(m_page.pixelColor(0, 0), background); // never cleared
        // The photo fills exactly its rectangle, stretched corner to corner...
        const QRect photo(QPoint(px(900), px(1050)), QPoint(px(10700) - 1, px(7650) - 1));
        const QList<QPoint> corners{photo.topLeft(), photo.topRight(), photo.bottomLeft(),
                                    photo.bottomRight()};
        for (int q = 0; q < 4; ++q)
            QCOMPARE(m_page.pixelColor(corners[q]), withPhoto ? quadrants[q] : background);
        QCOMPARE(ink(photo.adjusted(-1, -1, 1, 1)), withPhoto ? photo.width() * photo.height() : 0);
        // ... inside a black frame.
        const QRect frame(QPoint(px(870), px(1020)), QPoint(px(10730), px(7680)));
        QCOMPARE(count(frame, black), 2 * (frame.width() + frame.height()) - 4);

        // Header black, footer texts red, credit line grey.
        const Match dark = [](QColor c) { return c.value() < 60; };
        QCOMPARE(inked(inside(900, 450, 5000, 900), dark), withTexts);
        QVERIFY(inked(inside(5220, 450, 6500, 900), dark));
        QCOMPARE(inked(inside(8000, 450, 10815, 900), dark), withTexts);
        QCOMPARE(inked(inside(900, 7720, 4700, 7960), red), withTexts);
        QCOMPARE(inked(inside(8000, 7720, 10785, 7960), red), withTexts);
        QVERIFY(inked(inside(4800, 7720, 7000, 7960), grey(165, 200)));

        for (int month = 1; month <= 12; ++month) {
            const int x = 870 + (month - 1) % 4 * 2505;
            const int y = 8220 + (month - 1) / 4 * 2580;
            QVERIFY(inked(inside(x, y, x + 2310, y + 300), grey(0, 80)));
            // The grid stays pure black: no text runs over a cell's edge.
            for (int c = 0; c <= 7; ++c) {
                const QRect column(px(x + 330 * c), px(y + 300), 1, px(y + 2400) - px(y + 300));
                QCOMPARE(count(column, black), column.height());
            }
            for (int r = 1; r <= 7; ++r) {
                const QRect row(px(x), px(y + 300 * r), px(x + 2310) - px(x), 1);
                QCOMPARE(count(row, black), row.width());
            }
            for (int c = 0; c < 7; ++c)
                QVERIFY(inked(inside(x + 330 * c, y + 300, x + 330 * (c + 1), y + 600), blue));

            // Numbers in the cells the real calendar says, none elsewhere.
            const QDate first(year, month, 1);
            for (int cell = 0; cell < 42; ++cell) {
                const int day = cell + 1 - first.dayOfWeek() % 7;
                const int cx = x + 330 * (cell % 7), cy = y + 600 + 300 * (cell / 7);
                const QRect area = inside(cx, cy, cx + 330, cy + 300);
                const QByteArray where =
                    QStringLiteral("month %1 cell %2").arg(month).arg(cell + 1).toUtf8();
                const bool weekend = cell % 7 == 0 || cell % 7 == 6;
                if (day < 1 || day > first.daysInMonth())
                    QVERIFY2(ink(area) == 0, where);
                else
                    QVERIFY2(inked(area, red) == weekend && inked(area, grey(40, 110)) == !weekend,
                             where);
            }
        }
    }
};

QTEST_MAIN(TestRenderedPage)
#include "tst_RenderedPage.moc"
