// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/PngWriter.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

namespace {

// White, with bands of `period` rows that each differ from the row above
// between bands of rows equal to the row above; it ends in such a band.
QImage page(int width, int height, int period) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = period; y + period < height; y += 2 * period)
        for (int row = y; row < y + period; ++row)
            image.setPixel(row * 7 % width, row, qRgb(row % 256, 0, 255 - row % 256));
    return image;
}

QImage noise(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator random(width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate());
    return image.convertToFormat(format);
}

} // namespace

class TestOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrips_data() {
        QTest::addColumn<QImage>("image");
        QTest::newRow("1 x 1") << noise(1, 1, QImage::Format_RGB32);
        QTest::newRow("page 771 wide") << page(771, 300, 37);
        QTest::newRow("page 1541 wide, long runs") << page(1541, 700, 150);
        QTest::newRow("page, runs of one row") << page(5, 40, 2);
        QTest::newRow("photo-like 257 x 193") << noise(257, 193, QImage::Format_RGB32);
        QTest::newRow("alpha dropped") << noise(33, 9, QImage::Format_ARGB32);
        QTest::newRow("premultiplied") << noise(33, 9, QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("grey") << noise(31, 17, QImage::Format_Grayscale8);
    }
    void roundTrips() {
        QFETCH(QImage, image);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(PngWriter::write(image, buffer));
        QCOMPARE(QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32),
                 image.convertToFormat(QImage::Format_RGB32));
    }

    void refuses() {
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
        QVERIFY(!PngWriter::write(page(8, 8, 2), readOnly));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(!PngWriter::write(QImage(), buffer));
    }
};

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
