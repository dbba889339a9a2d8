#include "preview/BmpWriter.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <QtTest>

class TestBmpWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Odd widths need row padding; the page sizes are the real ones.
    void roundTrip_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("1 x 1") << QSize(1, 1) << qint64(54 + 4);
        QTest::newRow("5 x 3") << QSize(5, 3) << qint64(54 + 16 * 3);
        QTest::newRow("Klein") << QSize(770, 1100) << qint64(2543254);
        QTest::newRow("Groot") << QSize(1540, 2200) << qint64(10164054);
    }
    void roundTrip() {
        QFETCH(QSize, size);
        QFETCH(qint64, bytes);
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
            }
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(BmpWriter::write(image, buffer));
        const QByteArray file = buffer.data();
        QCOMPARE(file.size(), bytes);
        const auto* raw = reinterpret_cast<const uchar*>(file.constData());
        QCOMPARE(file.left(2), QByteArray("BM"));
        QCOMPARE(qFromLittleEndian<quint32>(raw + 2), quint32(bytes));
        QCOMPARE(qFromLittleEndian<quint16>(raw + 28), quint16(24));
        QCOMPARE(qFromLittleEndian<quint32>(raw + 30), quint32(0)); // uncompressed
        QImage decoded;
        QVERIFY(decoded.loadFromData(file, "BMP"));
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), image);
    }

    void failedDeviceIsReported() {
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        QBuffer closed;
        QVERIFY(!BmpWriter::write(image, closed));
        QString error;
        QVERIFY(!BmpWriter::write(image, QStringLiteral("/nonexistent-folder/page.bmp"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBmpWriter)
#include "tst_bmpwriter.moc"
