// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"
#include "support/RecordingSurface.h"

#include <QTest>

using Op = RecordingSurface::Op;
Q_DECLARE_METATYPE(PageStyle)

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
