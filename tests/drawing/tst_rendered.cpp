#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/RenderCalendarBitmap.h"
#include "drawing/TextMeasure.h"

#include <QDate>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <functional>

using Match = std::function<bool(QColor)>;
Q_DECLARE_METATYPE(PhotoFit)

// Probes on real renders: where the page must have ink, in which colour, and
// where it must have none. A failing render is saved for a look.
class TestRendered : public QObject {
    Q_OBJECT

    const QColor paper{Qt::white};
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
        return count(area, [this](QColor c) { return c != paper; });
    }
    static bool red(QColor c) { return c.red() > 120 && c.green() < 70 && c.blue() < 70; }
    static bool blue(QColor c) { return c.blue() > 120 && c.red() < 70 && c.green() < 70; }
    static bool black(QColor c) { return c == Qt::black; }
    static bool grey(QColor c) {
        return qAbs(c.red() - c.green()) < 6 && qAbs(c.green() - c.blue()) < 20 && c.red() >= 40 &&
               c.red() <= 110;
    }

private Q_SLOTS:
    void cleanup() {
        if (QTest::currentTestFailed() && !m_page.isNull())
            m_page.save(
                QDir::temp().filePath(QStringLiteral("page %1.png").arg(QTest::currentDataTag())));
    }

    void page_data() {
        QTest::addColumn<int>("factor");
        QTest::addColumn<qint32>("year");
        QTest::addColumn<bool>("filled"); // texts and photo, or neither
        for (const int f : {1, 2}) {
            QTest::addRow("f=%d 2005", f) << f << 2005 << true;
            QTest::addRow("f=%d 2009 empty", f) << f << 2009 << false;
        }
        QTest::addRow("f=1 2027") << 1 << 2027 << true;
    }
    void page() {
        QFETCH(int, factor);
        QFETCH(qint32, year);
        QFETCH(bool, filled);
        m_f = factor;
        PageContent content;
        if (filled) {
            content = {"Familie Jansen", "Koptekst rechts", "Voettekst links", "Voettekst rechts",
                       QImage(400, 300, QImage::Format_RGB32)};
            QPainter painter(&content.photo);
            for (int q = 0; q < 4; ++q)
                painter.fillRect(q % 2 * 200, q / 2 * 150, 200, 150, quadrants[q]);
        }
        content.year = year;
        m_page = RenderCalendarBitmap(content, m_f);
        QCOMPARE(m_page.size(), QSize(770, 1100) * m_f);
        // The photo fills exactly its rectangle, stretched corner to corner,
        // inside a black frame.
        const QRect photo(QPoint(px(900), px(1050)), QPoint(px(10700) - 1, px(7650) - 1));
        const QList<QPoint> corners{photo.topLeft(), photo.topRight(), photo.bottomLeft(),
                                    photo.bottomRight()};
        for (int q = 0; q < 4; ++q)
            QCOMPARE(m_page.pixelColor(corners[q]), filled ? quadrants[q] : paper);
        QCOMPARE(ink(photo.adjusted(-1, -1, 1, 1)), filled ? photo.width() * photo.height() : 0);
        const QRect frame(QPoint(px(870), px(1020)), QPoint(px(10730), px(7680)));
        QCOMPARE(count(frame, black), 2 * (frame.width() + frame.height()) - 4);

        // The footer texts are there, red.
        QCOMPARE(inked(inside(900, 7720, 10785, 7960), red), filled);

        for (int month = 1; month <= 12; ++month) {
            const int x = 870 + (month - 1) % 4 * 2505;
            const int y = 8220 + (month - 1) / 4 * 2580;
            // The grid stays pure black: no text runs over a cell's edge.
            for (int c = 0; c <= 7; ++c) {
                const QRect column(px(x + 330 * c), px(y + 300), 1, px(y + 2400) - px(y + 300));
                const QRect row(px(x), px(y + 300 * (c + 1)), px(x + 2310) - px(x), 1);
                QCOMPARE(count(column, black) + count(row, black), column.height() + row.width());
            }
            for (int c = 0; c < 7; ++c)
                QVERIFY(inked(inside(x + 330 * c, y + 300, x + 330 * (c + 1), y + 600), blue));

            // Numbers in the cells the real calendar says, none elsewhere.
            const QDate first(year, month, 1);
            for (int cell = 0; cell < 42; ++cell) {
                const int day = cell + 1 - first.dayOfWeek() % 7;
                const int cx = x + 330 * (cell % 7), cy = y + 600 + 300 * (cell / 7);
                const QRect area = inside(cx, cy, cx + 330, cy + 300);
                const bool weekend = cell % 7 == 0 || cell % 7 == 6;
                const QByteArray where = QByteArray::number(month) + "/" + QByteArray::number(cell);
                if (day < 1 || day > first.daysInMonth())
                    QVERIFY2(ink(area) == 0, where);
                else
                    QVERIFY2(inked(area, red) == weekend && inked(area, grey) == !weekend, where);
            }
        }
    }

    // Three ways into the frame for three shapes of photo (a blue field with a
    // red square in the middle): stretched over the whole frame; cropped, the
    // frame full and the square square and in its middle; or whole, the
    // square square, with white bands of equal width on two sides.
    void photoFits_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<PhotoFit>("fit");
        for (const QSize& photo : {QSize(800, 600), QSize(1600, 900), QSize(600, 600)})
            for (const PhotoFit fit : {PhotoFit::Stretch, PhotoFit::Crop, PhotoFit::Fit})
                QTest::addRow("%dx%d %s", photo.width(), photo.height(),
                              fit == PhotoFit::Stretch ? "stretch"
                              : fit == PhotoFit::Crop  ? "crop"
                                                       : "fit")
                    << photo << fit;
    }
    void photoFits() {
        QFETCH(QSize, photo);
        QFETCH(PhotoFit, fit);
        PageContent content;
        content.photo = QImage(photo, QImage::Format_RGB32);
        content.photo.fill(QColor(40, 40, 200));
        const int side = photo.height() / 2;
        QPainter(&content.photo)
            .fillRect(QRect(QPoint(), QSize(side, side))
                          .translated((photo.width() - side) / 2, (photo.height() - side) / 2),
                      QColor(200, 40, 40));
        content.photoFit = fit;
        m_f = 1;
        m_page = RenderCalendarBitmap(content, 1);
        const QRect area(QPoint(px(900), px(1050)), QPoint(px(10700) - 1, px(7650) - 1));
        QRect square, inked;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                square |= red(m_page.pixelColor(x, y)) ? QRect(x, y, 1, 1) : QRect();
                inked |= m_page.pixelColor(x, y) != paper ? QRect(x, y, 1, 1) : QRect();
            }
        const double shape = double(photo.width()) / photo.height();
        const double areaShape = double(area.width()) / area.height();
        if (fit == PhotoFit::Stretch) {
            QCOMPARE(inked, area);
            QVERIFY(qAbs(square.width() - area.width() / shape / 2) <= 2);
        } else {
            QVERIFY2(qAbs(square.width() - square.height()) <= 1,
                     qPrintable(QString::number(square.width())));
            QVERIFY(qAbs(square.center().x() - area.center().x()) <= 1);
            QVERIFY(qAbs(square.center().y() - area.center().y()) <= 1);
        }
        if (fit == PhotoFit::Crop)
            QCOMPARE(inked, area);
        if (fit == PhotoFit::Fit) {
            const QSizeF whole = shape < areaShape ? QSizeF(area.height() * shape, area.height())
                                                   : QSizeF(area.width(), area.width() / shape);
            QVERIFY(qAbs(inked.width() - whole.width()) <= 1 &&
                    qAbs(inked.height() - whole.height()) <= 1);
            QVERIFY(qAbs((inked.left() - area.left()) - (area.right() - inked.right())) <= 1);
            QVERIFY(qAbs((inked.top() - area.top()) - (area.bottom() - inked.bottom())) <= 1);
        }
    }

    // The windows' hidden labels and the page measure a text alike: the
    // right header in its 20.25 pt bold label is 204 pixels wide.
    void measure() {
        QLabel label(QStringLiteral("Koptekst rechts"));
        label.setFont(PageStyle::printed().headerMeasureFont);
        label.adjustSize();
        QCOMPARE(label.width(), 204);
        QCOMPARE(TextMeasure::widthTwips(label.font(), label.text()), 204 * 15);
    }
};

QTEST_MAIN(TestRendered)
#include "tst_rendered.moc"
