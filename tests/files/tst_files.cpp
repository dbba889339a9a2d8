// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileName.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

class TestFiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // A name's bytes survive the trip through a QString, and a name Qt's
    // dialog decoded with U+FFFD in it leads back to the file on disk.
    void fileNames_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("kalender.bmp");
        QTest::newRow("utf-8") << QByteArray("f\xc3\xb6to \xf0\x9f\x93\xb7.jpg");
        QTest::newRow("latin-1") << QByteArray("foto-\xe9t\xe9.jpg");
        QTest::newRow("cut utf-8, surrogate, overlong")
            << QByteArray("\xe2\x82 \xed\xa0\x80 \xc0\xaf");
        QTest::newRow("lone surrogate's own bytes") << QByteArray("\xed\xb2\x80");
    }
    void fileNames() {
        QFETCH(QByteArray, bytes);
        const QString name = FileName::fromNative(bytes);
        QCOMPARE(FileName::toNative(name), bytes);
        const QByteArray native = QFile::encodeName(m_dir.path()) + '/' + bytes;
        QFile(m_dir.filePath(QStringLiteral("x"))).open(QIODevice::WriteOnly);
        ::rename(QFile::encodeName(m_dir.filePath(QStringLiteral("x"))).constData(),
                 native.constData());
        QCOMPARE(FileName::toNative(FileName::recovered(QFile::decodeName(native))), native);
        ::remove(native.constData());
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
