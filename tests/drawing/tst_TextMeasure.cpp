#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"

#include <QLabel>
#include <QTest>

// The windows measure the right-hand texts in hidden self-sizing labels; the
// page must come to the same width.
class TestTextMeasure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void agreesWithLabel_data() {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QString>("text");
        const QList<QFont> fonts{PageStyle::bitmap(1).headerMeasureFont,
                                 PageStyle::printed().footerMeasureFont,
                                 PageStyle::bitmap(2).footerMeasureFont};
        for (const QFont& font : fonts)
            for (const QString& text :
                 {QStringLiteral("Koptekst rechts"), QStringLiteral("  blanks  "),
                  QStringLiteral("Fam. & Co <b>x</b> ëü"), QString(), QStringLiteral("a\tb"),
                  QString(220, QLatin1Char('M'))})
                QTest::addRow("%gpt: %s", font.pointSizeF(), qPrintable(text.left(20)))
                    << font << text;
    }

    void agreesWithLabel() {
        QFETCH(QFont, font);
        QFETCH(QString, text);
        QWidget window; // a label without a parent is a window, kept within the screen
        QLabel label(&window);
        label.setTextFormat(Qt::PlainText);
        label.setFont(font);
        label.setText(text);
        label.adjustSize();
        QCOMPARE(TextMeasure::widthTwips(font, text), label.width() * 15);
        if (text == QStringLiteral("Koptekst rechts") && font.pointSizeF() == 20.25)
            QCOMPARE(label.width(), 204);
    }
};

QTEST_MAIN(TestTextMeasure)
#include "tst_TextMeasure.moc"
