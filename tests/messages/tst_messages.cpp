// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/Messages.h"

#include <QtTest>

#include <cerrno>
#include <cstring>

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

    // Every reason the system can give reaches the person in Dutch: in words
    // of its own, or as its number in Dutch words; never in its English.
    void systemReasons_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("said");
        QTest::newRow("disk full") << ENOSPC << "de schijf is vol";
        QTest::newRow("reader gone") << EPIPE << "het programma dat las is gestopt";
        QTest::newRow("no reader") << ENXIO << "niemand leest uit deze pipe";
        QTest::newRow("name too long") << ENAMETOOLONG << "de naam is te lang";
        QTest::newRow("device fails") << EIO << "lees- of schrijffout";
        QTest::newRow("network folder gone") << ESTALE << "netwerkmap";
        QTest::newRow("no words: 42") << ENOMSG << "foutnummer tweeënveertig";
        QTest::newRow("no words: 81") << 81 << "foutnummer eenentachtig";
        QTest::newRow("no words: 133") << 133 << "foutnummer honderddrieëndertig";
    }
    void systemReasons() {
        QFETCH(int, error);
        QFETCH(QString, said);
        QCOMPARE(Messages::saveReason(FileError::fromErrno(error)).contains(said), true);
        for (int any = 1; any <= 133; ++any) {
            PhotoLoader::Result photo;
            photo.problem = PhotoLoader::Problem::File;
            photo.file = FileError::fromErrno(any);
            for (const QString& reason : {Messages::saveReason(photo.file),
                                          Messages::photoRefused(QStringLiteral("f"), photo)})
                QVERIFY2(!reason.isEmpty() &&
                             !reason.contains(QString::fromLocal8Bit(std::strerror(any)),
                                              Qt::CaseInsensitive),
                         qPrintable(reason));
        }
    }
};

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
