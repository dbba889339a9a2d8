// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/Messages.h"

#include <QtTest>

// The sentences built from the program's tables read as Dutch.
class TestMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void either_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("said");
        QTest::newRow("none") << QStringList() << "";
        QTest::newRow("one") << QStringList{"bmp"} << "bmp";
        QTest::newRow("three") << QStringList{"bmp", "png", "pdf"} << "bmp, png of pdf";
    }
    void either() {
        QFETCH(QStringList, items);
        QFETCH(QString, said);
        QCOMPARE(Messages::either(items), said);
    }

    void photoFiles() {
        QCOMPARE(Messages::photoFiles(),
                 QStringLiteral("JPEG-, HEIC-, AVIF-, PNG-, WebP-, TIFF-, BMP- of GIF-bestand"));
    }
};

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
