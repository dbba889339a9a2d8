// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/Voorbeeld.h"
#include "support/FakeCommonDialog.h"
#include "support/FileSizeLimit.h"
#include "support/ModalWatcher.h"
#include "widgets/PictureHolder.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

// The interface is scaled by 2, as on a HiDPI screen: the reduced page must
// be drawn for it, not blown up.
static const bool scaled = qputenv("QT_SCALE_FACTOR", "2");

namespace {

PageContent content() {
    return {"Koptekst links", "Koptekst rechts", "Voettekst links", "Voettekst rechts", {}, 2005};
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT
    FakeCommonDialog dialog;

private Q_SLOTS:
    void layout_data() {
        QTest::addColumn<int>("factor");
        QTest::addColumn<QString>("sizeText");
        QTest::newRow("Klein") << 1 << "770 x 1100 pixels / 2.5 Mbytes";
        QTest::newRow("Groot") << 2 << "1540 x 2200 pixels / 10 Mbytes";
    }
    void layout() {
        QFETCH(int, factor);
        QFETCH(QString, sizeText);
        Voorbeeld preview(content(), factor, dialog);
        const auto child = [&](const char* name) { return preview.findChild<QLabel*>(name); };
        QCOMPARE(preview.windowTitle(), QStringLiteral(" Example"));
        QCOMPARE(child("Label3")->text(), sizeText);
        QCOMPARE(preview.page().size(), QSize(770, 1100) * factor);
        QCOMPARE(preview.findChild<PictureHolder*>("Pic")->size(), QSize(770, 1100) * factor);
        QVERIFY(!preview.findChild<PictureHolder*>("Pic")->isVisibleTo(&preview));
        QVERIFY(!child("Koptekstrechts")->isVisibleTo(&preview));
        QCOMPARE(child("Koptekstrechts")->text(), QStringLiteral("Koptekst rechts"));
        // The page fills its bordered panel but for an even margin, drawn
        // for the screen's scale.
        const QRect page = child("Image1")->geometry(), panel = child("Label1")->geometry();
        QCOMPARE(page.marginsAdded(QMargins(4, 4, 4, 4)), panel);
        QCOMPARE(child("Image1")->pixmap().size(), page.size() * 2);
        // Resizing reflows nothing.
        const QPoint ok = child("OkKnop")->pos(), exit = child("ExitKnop")->pos();
        preview.resize(200, 200);
        QCOMPARE(child("OkKnop")->pos(), ok);
        QCOMPARE(child("ExitKnop")->pos(), exit);
    }

    // The page is paper: white on a dark desktop too, while the window keeps
    // the desktop's colours.
    void darkDesktop() {
        QPalette dark(QColor(40, 40, 40));
        dark.setColor(QPalette::Base, QColor(20, 20, 20));
        QApplication::setPalette(dark);
        Voorbeeld preview(content(), 1, dialog);
        QApplication::setPalette(QPalette());
        QCOMPARE(preview.page().pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(preview.palette().color(QPalette::Window), QColor(40, 40, 40));
    }

    // Each save writes the whole page to the path exactly as chosen: as the
    // extension typed says, else as the type chosen, BMP by default (24 bits)
    // or PNG with the same pixels, or PDF. Cancel is silent and writes nothing.
    void save() {
        QTemporaryDir dir;
        const QString first = dir.filePath("kalender.bmp"),
                      second = dir.filePath("zonder-extensie"),
                      png = dir.filePath("zonder-extensie-png"), pdf = dir.filePath("kalender.PDF");
        Voorbeeld preview(content(), 1, dialog);
        dialog.answers = {first, QString(), second, png, pdf};
        dialog.filterChoices = {1, 1, 1, 2, 1};
        // A second click during the first one's feedback opens no second dialog.
        QMetaObject::invokeMethod(&preview, &Voorbeeld::OkKnop_Click, Qt::QueuedConnection);
        for (int i = 0; i < 5; ++i)
            preview.OkKnop_Click();
        QCOMPARE(dialog.filtersSeen, QStringList(5, "Bitmap format (*.bmp) (*.bmp);;PNG (*.png) "
                                                    "(*.png);;PDF (*.pdf) (*.pdf)"));
        QCOMPARE(dialog.flags, 0x8002);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList(
                     {"kalender.bmp", "kalender.PDF", "zonder-extensie", "zonder-extensie-png"}));
        for (const QString& path : {first, second, png}) {
            const QByteArray bytes = readAll(path);
            QCOMPARE(bytes.size() == 2543254, path != png);
            QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), preview.page());
        }
        QVERIFY(readAll(pdf).startsWith("%PDF") && readAll(pdf).contains("/Count 1"));
    }

    // A save that fails, or would replace the photo the page is made of,
    // says why and what to do, and leaves the file as it was.
    void refusedSaveSaysWhy_data() {
        QTest::addColumn<bool>("photoItself");
        QTest::addColumn<QString>("message");
        QTest::newRow("disk full") << false
                                   << "De kalender is niet opgeslagen (de schijf is vol). Kies "
                                      "een andere map of naam en probeer het opnieuw.";
        QTest::newRow("the photo itself")
            << true
            << "'%1' is de foto zelf; de kalender zou hem overschrijven. Kies een andere naam.";
    }
    void refusedSaveSaysWhy() {
        QFETCH(bool, photoItself);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("kalender.bmp"));
        QFile(target).open(QIODevice::WriteOnly);
        PageContent page = content();
        if (photoItself)
            page.photoFile = dir.filePath(QStringLiteral("./kalender.bmp"));
        Voorbeeld preview(page, 1, dialog);
        dialog.answers = {target};
        ModalWatcher watcher;
        {
            const FileSizeLimit full(100'000);
            preview.OkKnop_Click();
        }
        QCOMPARE(watcher.seen, QStringList(message.arg(target)));
        QCOMPARE(QFileInfo(target).size(), 0);
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
