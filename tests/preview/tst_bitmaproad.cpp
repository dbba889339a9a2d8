#include "drawing/Twips.h"
#include "main_window/ImageButton.h"
#include "main_window/Main.h"
#include "main_window/PictureHolder.h"
#include "preview/Voorbeeld.h"
#include "support/FakeCommonDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QImage solidPhoto(QColor color, QSize size = QSize(60, 40)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Closes the next modal window (message box or preview) once it shows, and
// remembers its title and text.
struct ModalWatcher {
    QString title;
    QString text;
    void closeNext() {
        QTimer::singleShot(20, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                closeNext();
                return;
            }
            title = modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                text = box->text();
            }
            modal->close();
        });
    }
};

} // namespace

class TestBitmapRoad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        dialog = new FakeCommonDialog;
        window = std::make_unique<Main>(dialog);
    }
    void cleanup() { window.reset(); }

    void photoGoesIntoBothControlsOrNeither() {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.jpg"));
        QVERIFY(solidPhoto(Qt::red, QSize(300, 200)).save(good, "JPEG"));
        const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
        QVERIFY(writeFile(bad, "geen foto"));

        dialog->answers = {good, bad, QString()};
        window->Image1_Click();
        QCOMPARE(dialog->filtersSeen.last(),
                 QStringLiteral("Frameblock (*.Jpg, *.Bmp, *.Gif) (*.jpg *bmp *.gif)"));
        QCOMPARE(window->Picture1->picture().size(), QSize(300, 200));
        QCOMPARE(window->Picture1->size(), QSize(300, 200));
        QCOMPARE(window->Image1->pixmap().size(), window->Image1->size());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);

        // Not a picture, then Cancel with cancel-as-error left on: both keep
        // the photo, and the pointer is the arrow.
        dialog->cancelError = true;
        const QImage before = window->Picture1->picture();
        const QImage shownBefore = window->Image1->pixmap().toImage();
        window->Image1_Click();
        window->Image1_Click();
        QCOMPARE(window->Picture1->picture(), before);
        QCOMPARE(window->Image1->pixmap().toImage(), shownBefore);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        QCOMPARE(window->pictureFile(), bad);
    }

    void previewFollowsSizeAndChoices_data() {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("Klein") << 0 << "770 x 1100 pixels / 2.5 Mbytes" << QSize(770, 1100);
        QTest::newRow("Groot") << 1 << "1540 x 2200 pixels / 10 Mbytes" << QSize(1540, 2200);
        QTest::newRow("Klein again") << 2 << "770 x 1100 pixels / 2.5 Mbytes" << QSize(770, 1100);
    }
    void previewFollowsSizeAndChoices() {
        QFETCH(int, clicks);
        QFETCH(QString, sizeText);
        QFETCH(QSize, pixels);
        for (int i = 0; i < clicks; ++i) {
            window->Check1_Click();
        }
        Voorbeeld preview(window->pageContent(2007), window->sizeFactor(), *dialog);
        QCOMPARE(preview.windowTitle(), QStringLiteral(" Example"));
        QCOMPARE(preview.Label3->text(), sizeText);
        QCOMPARE(preview.Pic->size(), pixels);
        QCOMPARE(preview.page().size(), pixels);
        QVERIFY(!preview.Pic->isVisibleTo(&preview));
        QVERIFY(!preview.Koptekstrechts->isVisibleTo(&preview));
        QCOMPARE(preview.Koptekstrechts->text(), QStringLiteral("Koptekst rechts"));
        QCOMPARE(preview.Image1->geometry(), QRect(10, 12, 412, 572));
        QCOMPARE(preview.Image1->pixmap().size(), QSize(412, 572));
        QCOMPARE(preview.OkKnop->pos(), QPoint(335, 597));
        QCOMPARE(preview.ExitKnop->pos(), QPoint(385, 597));
        // Resizing reflows nothing.
        preview.resize(200, 200);
        QCOMPARE(preview.ExitKnop->pos(), QPoint(385, 597));
    }

    void okOpensAFreshPreviewEachTime() {
        QList<QImage> pages;
        std::function<void()> grab = [&] {
            QTimer::singleShot(20, [&] {
                auto* preview = qobject_cast<Voorbeeld*>(QApplication::activeModalWidget());
                if (!preview) {
                    grab(); // still pressing the button
                    return;
                }
                pages << preview->page();
                preview->ExitKnop_Click();
            });
        };
        grab();
        window->OkKnop_Click();
        window->KopTekstLinks->setText(QStringLiteral("Andere kop"));
        window->JaarCombo->setEditText(QStringLiteral(" 2009 "));
        window->Check1_Click();
        window->Picture1->setPicture(solidPhoto(Qt::blue));
        grab();
        window->OkKnop_Click();
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].size(), QSize(770, 1100));
        QCOMPARE(pages[1].size(), QSize(1540, 2200));
        // The new photo is in the middle of the photo area.
        QCOMPARE(pages[1].pixelColor(2 * 5800 / 15, 2 * 4350 / 15), QColor(Qt::blue));
    }

    void yearThatIsNoNumberOpensNothing_data() {
        QTest::addColumn<QString>("year");
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "abcd";
        QTest::newRow("mixed") << "20x5";
        QTest::newRow("fraction") << "2005.5";
        QTest::newRow("too large") << "2147483648";
    }
    void yearThatIsNoNumberOpensNothing() {
        QFETCH(QString, year);
        window->JaarCombo->setEditText(year);
        ModalWatcher watcher;
        watcher.closeNext();
        window->OkKnop_Click();
        QCOMPARE(watcher.title, QStringLiteral("Ostrabel"));
        QVERIFY2(watcher.text.contains(QStringLiteral("jaartal")), qPrintable(watcher.text));
        QVERIFY(window->isEnabled());
    }

    void saveWritesTheWholePageAsBmp() {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("kalender.bmp"));
        const QString second = dir.filePath(QStringLiteral("zonder-extensie"));
        Voorbeeld preview(window->pageContent(2005), 1, *dialog);
        dialog->answers = {first, QString(), second};
        preview.OkKnop_Click();
        preview.OkKnop_Click(); // Cancel: silent, nothing written
        preview.OkKnop_Click();
        QCOMPARE(dialog->asked, 3);
        QCOMPARE(dialog->filtersSeen.last(), QStringLiteral("Bitmap format (*.bmp) (*.bmp)"));
        QVERIFY(dialog->cancelError);
        QCOMPARE(dialog->flags, 0x8002);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
        QVERIFY(!QFile::exists(second + QStringLiteral(".bmp")));
        for (const QString& path : {first, second}) {
            const QByteArray bytes = readAll(path);
            QCOMPARE(bytes.size(), 2543254); // 24 bits, rows padded to 4 bytes
            QCOMPARE(bytes.left(2), QByteArray("BM"));
            QImage saved;
            QVERIFY(saved.loadFromData(bytes, "BMP"));
            QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), preview.page());
        }
        QVERIFY(preview.isVisible() || !preview.result());
    }

    void failedSaveKeepsTheOldFileAndSaysSo() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("bestaand.bmp"));
        QVERIFY(writeFile(target, "oude inhoud"));
        Voorbeeld preview(window->pageContent(2005), 1, *dialog);
        dialog->answers = {target};
        ModalWatcher watcher;
        watcher.closeNext();
        // A file size limit stands in for a full disk: the write fails halfway.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 100'000;
        setrlimit(RLIMIT_FSIZE, &small);
        preview.OkKnop_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY2(watcher.text.contains(QStringLiteral("niet opgeslagen")),
                 qPrintable(watcher.text));
        QCOMPARE(readAll(target), QByteArray("oude inhoud"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("bestaand.bmp")});
    }

    void readOnlyTargetIsRefusedByTheDialog() {
        QTemporaryDir dir;
        const QString locked = dir.filePath(QStringLiteral("alleen-lezen.bmp"));
        QVERIFY(writeFile(locked, "bewaar mij"));
        QFile::setPermissions(locked, QFileDevice::ReadOwner);
        Voorbeeld preview(window->pageContent(2005), 1, *dialog);
        dialog->answers = {locked, QString()};
        preview.OkKnop_Click();
        if (QFileInfo(locked).isWritable()) {
            QSKIP("running as root: read-only files stay writable");
        }
        QCOMPARE(dialog->refusals.size(), 1);
        QCOMPARE(readAll(locked), QByteArray("bewaar mij"));
    }

private:
    FakeCommonDialog* dialog = nullptr;
    std::unique_ptr<Main> window;
};

QTEST_MAIN(TestBitmapRoad)
#include "tst_bitmaproad.moc"
