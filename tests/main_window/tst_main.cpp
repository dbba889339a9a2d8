// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/RenderCalendarBitmap.h"
#include "main_window/Main.h"
#include "support/FakeCommonDialog.h"
#include "support/ModalWatcher.h"
#include "support/RecordingJob.h"
#include "widgets/PictureHolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The interface is scaled by 2, as on a HiDPI screen: pictures must be drawn
// for it, not blown up.
static const bool scaled = qputenv("QT_SCALE_FACTOR", "2");
// The remembered choices of this run stay in this run.
static const QTemporaryDir config;
static const bool configured = qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

namespace {

// A printer that keeps the copies of each job it takes.
struct Printer {
    QList<int> copies;
    bool refuses = false;
    Main::PrintJobs jobs() {
        return [this] {
            auto job = std::make_unique<RecordingJob>();
            job->taken = &copies;
            job->refuseJob = refuses;
            return job;
        };
    }
};

// Runs the action once, as the next event after the first event of that
// type reaches the object.
class OnFirstEvent : public QObject {
public:
    OnFirstEvent(QObject* object, QEvent::Type type, std::function<void()> action)
        : m_type(type)
        , m_action(std::move(action)) {
        object->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == m_type) {
            object->removeEventFilter(this);
            QMetaObject::invokeMethod(this, m_action, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_action;
};

} // namespace

class TestMain : public QObject {
    Q_OBJECT
    FakeCommonDialog* dialog = nullptr;
    Printer printer;
    std::unique_ptr<Main> window;

    template <typename T = QWidget>
    T* control(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }

private Q_SLOTS:
    void init() {
        QDir(config.filePath(QStringLiteral("Ostrabel"))).removeRecursively();
        dialog = new FakeCommonDialog;
        printer = {};
        window = std::make_unique<Main>(dialog, printer.jobs());
    }
    void cleanup() { window.reset(); }

    // The window is fixed at its client size, every visible control lies
    // wholly inside it, and the frame has even margins left and right.
    void startUp() {
        QCOMPARE(window->minimumSize(), window->maximumSize());
        const QRect frame = control("Frame1")->geometry();
        QCOMPARE(frame.left(), window->width() - 1 - frame.right());
        QCOMPARE(frame.left(), window->height() - 1 - frame.bottom());
        for (QWidget* widget : control("Frame1")->findChildren<QWidget*>())
            if (widget->isVisibleTo(window.get()) && widget->parentWidget() == control("Frame1"))
                QVERIFY2(QRect(QPoint(), frame.size()).contains(widget->geometry()),
                         qPrintable(widget->objectName()));
        const auto* years = control<QComboBox>("JaarCombo");
        QCOMPARE(years->count(), 21);
        QCOMPARE(years->itemText(0) + years->itemText(20), QStringLiteral("20002020"));
        QCOMPARE(years->itemText(years->currentIndex()), QStringLiteral("2005"));
        QCOMPARE(control<QComboBox>("CopyCombo")->count(), 20);
        for (const char* hidden : {"Picture1", "Label4", "Label5", "Bar"})
            QVERIFY2(!control(hidden)->isVisibleTo(window.get()), hidden);
        // The page picture is drawn for the scaled screen: the photo frame one
        // device pixel thin, right against the photo area.
        const QPixmap a4 = control<QLabel>("A4")->pixmap();
        QCOMPARE(a4.deviceIndependentSize(), QSizeF(129, 181));
        QCOMPARE(a4.toImage().pixelColor(26, 80), QColor(Qt::white));
        QCOMPARE(a4.toImage().pixelColor(27, 80), QColor(Qt::black));
        QVERIFY(control<QLabel>("Image1")->pixmap().isNull());
    }

    void focusOrder() {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), control("A4"));
        // Tab stops at the selected option only, as option groups do; the
        // picture buttons come after the layout's last control.
        for (const char* next :
             {"JaarCombo", "KopTekstLinks", "VoetTekstLinks", "Option1_0", "KopTekstRechts",
              "VoettekstRechts", "CopyCombo", "Check1", "OkKnop", "ExitKnop", "A4"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            if (qobject_cast<QComboBox*>(focus->parentWidget()))
                focus = focus->parentWidget();
            QCOMPARE(focus->objectName(), QString::fromLatin1(next));
        }
        QCOMPARE(control("Image1")->focusPolicy(), Qt::NoFocus);
    }

    // Only the size decides, never the tick: each toggle, by mouse or key, alternates.
    void sizeToggleAlternates() {
        auto* check = control<QCheckBox>("Check1");
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(check->text(), QStringLiteral("Groot"));
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
        QCOMPARE(check->text(), QStringLiteral("Klein"));
    }

    // The photo goes into both the holder and the photo area, or neither, and
    // a file that is no photo says why.
    void photoLoad() {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.jpg"), bad = dir.filePath("bad.jpg");
        QImage photo(300, 200, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QVERIFY(photo.save(good) && QFile(bad).open(QIODevice::WriteOnly));
        dialog->answers = {good, bad, QString()};
        ModalWatcher watcher;
        QSignalSpy loaded(window.get(), &Main::photoLoadFinished);
        for (int i = 0; i < 3; ++i) {
            window->Image1_Click();
            QTRY_COMPARE(loaded.count(), qMin(i + 1, 2));
            // Too small to print sharply, and told so where the photo is.
            QVERIFY(control("Image1")->toolTip().contains("klein (300 x 200 pixels)"));
            QCOMPARE(control<PictureHolder>("Picture1")->size(), QSize(300, 200));
            QCOMPARE(control<QLabel>("Image1")->pixmap().size(), QSize(198, 118));
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        }
        QCOMPARE(watcher.seen,
                 QStringList("De foto '" + bad +
                             "' kan niet worden geladen: dit is "
                             "geen foto in een bekend formaat. Kies een JPEG-, "
                             "HEIC-, AVIF-, PNG-, WebP-, TIFF-, BMP- of GIF-bestand."));
        // A photo cut short loads as far as it goes, without a word.
        dialog->answers = {QFINDTESTDATA("../fuzz/corpus/truncated_half.jpg")};
        window->Image1_Click();
        QTRY_COMPARE(loaded.count(), 3);
        QCOMPARE(control<PictureHolder>("Picture1")->size(), QSize(64, 48));
        QCOMPARE(watcher.seen.size(), 1);
        QVERIFY(dialog->filtersSeen.last().startsWith(
            QStringLiteral("Frameblock (*.Jpg, *.Bmp, *.Gif) (*.jpg *bmp *.gif);;Alle foto's")));
    }

    // The photo area's menu, from a right click or from the keyboard while
    // the page has the focus, shows the three ways with the current one
    // checked; the one chosen is how the photo area shows the photo.
    void fitMenu_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("choice");
        QTest::newRow("right click, Bijsnijden") << "right click" << 1;
        QTest::newRow("menu key, Passend") << "menu key" << 2;
        QTest::newRow("Shift+F10, Uitrekken") << "shift+f10" << 0;
    }
    void fitMenu() {
        QFETCH(QString, how);
        QFETCH(int, choice);
        QTemporaryDir dir;
        QImage photo(200, 300, QImage::Format_RGB32);
        photo.fill(Qt::red);
        photo.save(dir.filePath("foto.png"));
        dialog->answers = {dir.filePath("foto.png")};
        QSignalSpy loaded(window.get(), &Main::photoLoadFinished);
        window->Image1_Click();
        QTRY_COMPARE(loaded.count(), 1);
        window->setPhotoFit(PhotoFit::Crop);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget* a4 = control("A4");
        a4->setFocus();
        // The windowing system turns a right click, or the menu key on the
        // focused widget, into a context menu event.
        if (how == "shift+f10") {
            QTest::keyClick(a4, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            QContextMenuEvent event(how == "right click" ? QContextMenuEvent::Mouse
                                                         : QContextMenuEvent::Keyboard,
                                    QPoint(5, 5), QPoint(5, 5));
            QApplication::sendEvent(how == "right click" ? control("Image1") : a4, &event);
        }
        auto* menu = window->findChild<QMenu*>("FotoPassen");
        QTRY_VERIFY(menu->isVisible());
        QStringList checked;
        for (QAction* action : menu->actions())
            checked << (action->isChecked() ? "[" + action->text() + "]" : action->text());
        QCOMPARE(checked.join(' '), QStringLiteral("Uitrekken [Bijsnijden] Passend Kalender Week "
                                                   "begint op maandag Weeknummers Feestdagen"));
        menu->actions()[choice]->trigger();
        QCOMPARE(int(window->photoFit()), choice);
        // Fitted, a tall photo leaves white beside it.
        const QImage shown = control<QLabel>("Image1")->pixmap().toImage();
        QCOMPARE(shown.pixelColor(1, shown.height() / 2) == Qt::white, choice == 2);
    }

    // The way into the frame and the calendar's options chosen in one run
    // are there in the next, and the page follows them; a settings file that
    // holds nonsense or cannot be read counts as no choice made.
    void rememberedChoices_data() {
        QTest::addColumn<QByteArray>("file"); // what is in the settings file's place
        QTest::newRow("chosen in the run before") << QByteArray();
        QTest::newRow("nonsense") << QByteArray("[foto]\npassen=42\n[kalender]\nweek-begint="
                                                "dinsdag\nweeknummers=ja\n\xff\x00");
        QTest::newRow("a folder") << QByteArray("map");
    }
    void rememberedChoices() {
        QFETCH(QByteArray, file);
        const QString path = config.filePath(QStringLiteral("Ostrabel/Ostrabel.conf"));
        QDir().mkpath(config.filePath(QStringLiteral("Ostrabel")));
        const bool chosen = file.isEmpty();
        if (chosen) {
            window->setPhotoFit(PhotoFit::Crop);
            for (QAction* action : window->findChild<QMenu*>("FotoPassen")->actions())
                if (action->isCheckable() && !action->data().isValid())
                    action->trigger();
        } else if (file == "map") {
            QDir().mkpath(path);
        } else {
            QFile settings(path);
            QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write(file) == file.size());
        }
        window = std::make_unique<Main>(dialog = new FakeCommonDialog, printer.jobs());
        QStringList checked;
        for (QAction* action : window->findChild<QMenu*>("FotoPassen")->actions())
            if (action->isChecked())
                checked << action->text();
        QCOMPARE(checked.join(' '), chosen ? "Bijsnijden Week begint op maandag Weeknummers "
                                             "Feestdagen"
                                           : "Uitrekken");
        PageContent expected{
            "Koptekst links", "Koptekst rechts", "Voettekst links", "Voettekst rechts", {}, 2005};
        if (chosen) {
            expected.photoFit = PhotoFit::Crop;
            expected.weekStart = WeekStart::Monday;
            expected.weekNumbers = expected.holidays = true;
        }
        ModalWatcher watcher;
        QImage shown;
        watcher.answer = [&](QWidget* preview) {
            shown = preview->findChild<PictureHolder*>("Pic")->picture();
            preview->close();
        };
        window->OkKnop_Click();
        QVERIFY(shown == RenderCalendarBitmap(expected, 1));
    }

    // A photo dropped from a file manager loads through the loader; anything
    // else dropped changes nothing and says why.
    void drop_data() {
        QTest::addColumn<QStringList>("urls"); // %1: the folder; none: a text is dropped
        QTest::addColumn<QString>("said");
        const QString elsewhere = "bestand op deze computer";
        QTest::newRow("one photo") << QStringList{"file://%1/foto.png"} << "";
        QTest::newRow("two photos")
            << QStringList{"file://%1/foto.png", "file://%1/foto.png"} << "één foto";
        QTest::newRow("no photo") << QStringList{"file://%1/tekst.jpg"} << "geen foto";
        QTest::newRow("a text") << QStringList() << elsewhere;
        QTest::newRow("on another host") << QStringList{"file://elders%1/foto.png"} << elsewhere;
        QTest::newRow("relative") << QStringList{"file:foto.png"} << elsewhere;
        QTest::newRow("cut short by NUL") << QStringList{"file://%1/foto.png%00.txt"} << elsewhere;
    }
    void drop() {
        QFETCH(QStringList, urls);
        QFETCH(QString, said);
        QTemporaryDir dir;
        QImage(40, 30, QImage::Format_RGB32).save(dir.filePath("foto.png"));
        QFile(dir.filePath("tekst.jpg")).open(QIODevice::WriteOnly);
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path()); // where a relative name would lead
        const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
        QMimeData data;
        QList<QUrl> dropped;
        for (const QString& url : urls)
            dropped << QUrl(QString(url).replace("%1", dir.path()));
        urls.isEmpty() ? data.setText("foto.png") : data.setUrls(dropped);
        ModalWatcher watcher;
        QSignalSpy loaded(window.get(), &Main::photoLoadFinished);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &drop);
        if (said.isEmpty() || said == "geen foto")
            QTRY_COMPARE(loaded.count(), 1);
        QCOMPARE(control<PictureHolder>("Picture1")->picture().size(),
                 said.isEmpty() ? QSize(40, 30) : QSize(0, 0));
        QCOMPARE(watcher.seen.value(0).contains(said) && watcher.seen.size() == !said.isEmpty(),
                 true);
    }

    // OK prints one job with the copies asked for, or says why not and sends
    // nothing. A second OK while one runs does nothing. Exit wins over an OK
    // that has not started its page yet; one being printed is sent, or its
    // refusal told, before the program ends with code 0.
    void ok_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("copies"); // empty: Bitmap
        QTest::addColumn<QString>("then");   // a second click, and during what
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<QString>("seen"); // part of what a message or window says
        QTest::addColumn<bool>("ends");
        const auto row = [](const char* name, const char* year, const char* copies,
                            const char* then, bool refused, QList<int> sent, const char* seen,
                            bool ends) {
            QTest::newRow(name) << year << copies << then << refused << sent << seen << ends;
        };
        row("three copies", "2009", "3", "", false, {3}, "", false);
        row("copies not a number", "2009", "abc", "", false, {}, "copy's", false);
        row("no copies", "2009", "0", "", false, {}, "copy's", false);
        row("year not a number", "20x5", "1", "", false, {}, "geen geheel getal", false);
        row("year beyond 32 bits", "2147483648", "1", "", false, {}, "te groot", false);
        row("OK during the feedback", "2009", "1", "ok feedback", false, {1}, "", false);
        row("OK during the sweep", "2009", "1", "ok sweep", false, {1}, "", false);
        row("OK during the feedback, bitmap", "2009", "", "ok feedback", false, {}, " Example",
            false);
        row("Exit during the feedback", "2009", "1", "exit feedback", false, {}, "", true);
        row("close box during the feedback", "2009", "1", "close feedback", false, {}, "", true);
        row("Exit during the sweep", "2009", "1", "exit sweep", false, {1}, "", true);
        row("Exit during the sweep, refused", "2009", "1", "exit sweep", true, {}, "Controleer",
            true);
    }
    void ok() {
        QFETCH(QString, year);
        QFETCH(QString, copies);
        QFETCH(QString, then);
        QFETCH(bool, refused);
        QFETCH(QList<int>, sent);
        QFETCH(QString, seen);
        QFETCH(bool, ends);
        control<QRadioButton>(copies.isEmpty() ? "Option1_0" : "Option1_1")->setChecked(true);
        control<QComboBox>("JaarCombo")->setEditText(year);
        control<QComboBox>("CopyCombo")->setEditText(copies);
        printer.refuses = refused;
        window->show();
        ModalWatcher watcher;
        // The feedback begins when OK moves down, the sweep when the bar shows.
        OnFirstEvent second(then.endsWith("feedback") ? control("OkKnop") : control("Bar"),
                            then.endsWith("feedback") ? QEvent::Move : QEvent::Show, [&] {
                                then.startsWith("ok")      ? window->OkKnop_Click()
                                : then.startsWith("exit")  ? window->ExitKnop_Click()
                                : then.startsWith("close") ? void(window->close())
                                                           : void();
                            });
        QMetaObject::invokeMethod(
            window.get(),
            [&] {
                window->OkKnop_Click();
                if (window->isVisible())
                    QCoreApplication::exit(1);
            },
            Qt::QueuedConnection);
        QCOMPARE(QCoreApplication::exec(), ends ? 0 : 1);
        QCOMPARE(printer.copies, sent);
        QCOMPARE(watcher.seen.size(), seen.isEmpty() ? 0 : 1);
        QVERIFY(watcher.seen.value(0).contains(seen));
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
