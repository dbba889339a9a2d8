// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/PageContent.h"
#include "drawing/RenderCalendarBitmap.h"
#include "files/FileError.h"
#include "output/OutputFormat.h"
#include "output/PngWriter.h"
#include "output/SafeSave.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path, bool follow = true) {
    struct stat st {};
    (follow ? stat : lstat)(QFile::encodeName(path).constData(), &st);
    return st.st_mode;
}

using Kind = FileError::Kind;
const QByteArray old("oud"), calendar("kalender");

} // namespace

class TestOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every format at both sizes: a bitmap holds the rendered page's very
    // pixels, and the same page comes out whether or not the caller drew it
    // first; the PDF is one A4 page, the same at both sizes.
    void formats_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("factor");
        for (const QString& name : OutputFormat::names())
            for (const int factor : {1, 2})
                QTest::addRow("%s x%d", qPrintable(name), factor) << name << factor;
    }
    void formats() {
        QFETCH(QString, name);
        QFETCH(int, factor);
        PageContent content;
        content.year = 2027;
        content.headerLeft = QStringLiteral("Familie");
        const QImage rendered = RenderCalendarBitmap(content, factor);
        QByteArray drawnHere, drawnBefore;
        QBuffer here(&drawnHere), before(&drawnBefore);
        here.open(QIODevice::WriteOnly);
        before.open(QIODevice::WriteOnly);
        const OutputFormat* format = OutputFormat::named(name.toUpper());
        QVERIFY(format->write({content, factor, {}}, here));
        QVERIFY(format->write({content, factor, rendered}, before));
        if (name == QLatin1String("pdf")) {
            QVERIFY(drawnHere.startsWith("%PDF") && drawnHere.contains("/Count 1"));
            QCOMPARE(drawnHere.size(), drawnBefore.size());
            return;
        }
        QCOMPARE(drawnHere, drawnBefore);
        QCOMPARE(QImage::fromData(drawnHere).convertToFormat(QImage::Format_RGB32), rendered);
        QCOMPARE(OutputFormat::forFile(QStringLiteral("map.x/k.") + name.toUpper()), format);
    }

    // What a save leaves behind, whatever the name leads to: a new or
    // regular file replaced whole with its mode kept, a link followed, a
    // pipe or a device written into and never replaced, a folder and a
    // file the user may not write refused untouched.
    void safeSave_data() {
        QTest::addColumn<QString>("target"); // how the name is made, in the folder
        QTest::addColumn<int>("refused");    // a FileError::Kind, or -1: saved
        QTest::addColumn<QByteArray>("after");
        const bool root = geteuid() == 0;
        QTest::newRow("new name") << "nieuw" << -1 << calendar;
        QTest::newRow("regular file, mode 0640") << "bestand 0640" << -1 << calendar;
        QTest::newRow("symlink to a file") << "koppeling" << -1 << calendar;
        QTest::newRow("read-only file")
            << "bestand 0444" << (root ? -1 : int(Kind::ReadOnlyFile)) << (root ? calendar : old);
        QTest::newRow("fifo with a reader") << "pipe lezer" << -1 << calendar;
        QTest::newRow("fifo, nobody reading") << "pipe" << int(Kind::NoReader) << QByteArray();
        QTest::newRow("/dev/null through a symlink") << "null" << -1 << QByteArray();
        QTest::newRow("folder") << "map" << int(Kind::Folder) << QByteArray();
    }
    void safeSave() {
        QFETCH(QString, target);
        QFETCH(int, refused);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("k.bmp"));
        const QByteArray native = QFile::encodeName(path);
        const QString kind = target.section(QLatin1Char(' '), 0, 0);
        int reader = -1;
        if (kind == QLatin1String("bestand") || kind == QLatin1String("koppeling")) {
            QFile file(dir.filePath(QStringLiteral("echt.bmp")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
            file.close();
            chmod(QFile::encodeName(file.fileName()).constData(),
                  mode_t(target.section(QLatin1Char(' '), 1).toInt(nullptr, 8) ?: 0644));
            QFile::link(file.fileName(), path);
            if (kind == QLatin1String("bestand"))
                QVERIFY(QFile::remove(path) && QFile::rename(file.fileName(), path));
        } else if (kind == QLatin1String("pipe")) {
            mkfifo(native.constData(), 0600);
            if (target.endsWith(QLatin1String("lezer")))
                reader = open(native.constData(), O_RDONLY | O_NONBLOCK);
        } else if (kind == QLatin1String("null")) {
            QFile::link(QStringLiteral("/dev/null"), path);
        } else if (kind == QLatin1String("map")) {
            QDir(dir.path()).mkdir(QStringLiteral("k.bmp"));
        }
        const mode_t before = modeOf(path), linkBefore = modeOf(path, false);
        FileError error;
        const bool saved = SafeSave::write(
            path, [](QIODevice& device) { return device.write(calendar) == calendar.size(); },
            &error);
        QCOMPARE(saved ? -1 : int(error.kind), refused);
        if (reader >= 0) {
            char got[16] = {};
            QCOMPARE(QByteArray(got, int(read(reader, got, sizeof got))), calendar);
            close(reader);
        } else if (S_ISREG(modeOf(path))) {
            QCOMPARE(bytesOf(path), after);
        }
        QCOMPARE(modeOf(path, false),
                 kind == QLatin1String("nieuw") ? modeOf(path, false) : linkBefore);
        if (kind != QLatin1String("nieuw"))
            QCOMPARE(modeOf(path), before);
        QCOMPARE(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                .count(),
            kind == QLatin1String("koppeling") ? 2 : 1);
    }

    // The calendar never takes the place of its photo, whatever way the two
    // names lead to it; another file, even of the same size, is no photo.
    void sameFile_data() {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("same");
        QTest::newRow("by name") << "foto.jpg" << true;
        QTest::newRow("through ../") << "../d/foto.jpg" << true;
        QTest::newRow("by symlink") << "koppeling.jpg" << true;
        QTest::newRow("by hard link") << "harde.jpg" << true;
        QTest::newRow("a copy of the same size") << "kopie.jpg" << false;
        QTest::newRow("nothing yet") << "nieuw.jpg" << false;
    }
    void sameFile() {
        QFETCH(QString, other);
        QFETCH(bool, same);
        QTemporaryDir top;
        QDir(top.path()).mkdir(QStringLiteral("d"));
        const QDir dir(top.filePath(QStringLiteral("d")));
        QFile photo(dir.filePath(QStringLiteral("foto.jpg")));
        QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write(old) == old.size());
        photo.close();
        QFile::copy(photo.fileName(), dir.filePath(QStringLiteral("kopie.jpg")));
        QFile::link(photo.fileName(), dir.filePath(QStringLiteral("koppeling.jpg")));
        link(QFile::encodeName(photo.fileName()).constData(),
             QFile::encodeName(dir.filePath(QStringLiteral("harde.jpg"))).constData());
        QCOMPARE(SafeSave::sameFile(dir.filePath(other), photo.fileName()), same);
    }

    // The PNG encoder's own shortcuts keep every pixel.
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

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
