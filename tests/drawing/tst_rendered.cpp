// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageContent.h"
#include "drawing/RenderCalendarBitmap.h"

#include <QDir>
#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(PhotoFit)

// Real renders where the page's own numbers do not matter: how a photo of
// any shape goes into its frame. A failing render is saved for a look.
class TestRendered : public QObject {
    Q_OBJECT

    const QColor paper{Qt::white};
    QImage m_page;

    static int px(int twips) { return twips / 15; }
    static bool red(QColor c) { return c.red() > 120 && c.green() < 70 && c.blue() < 70; }

private Q_SLOTS:
    void cleanup() {
        if (QTest::currentTestFailed() && !m_page.isNull())
            m_page.save(
                QDir::temp().filePath(QStringLiteral("page %1.png").arg(QTest::currentDataTag())));
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
};

QTEST_MAIN(TestRendered)
#include "tst_rendered.moc"
