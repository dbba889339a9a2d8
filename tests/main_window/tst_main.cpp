#include "main_window/Main.h"
#include "printing/PrintJob.h"
#include "support/FakeCommonDialog.h"
#include "support/RecordingSurface.h"
#include "widgets/PictureHolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

// The interface is scaled by 2, as on a HiDPI screen: pictures must be drawn
// for it, not blown up.
static const bool scaled = qputenv("QT_SCALE_FACTOR", "2");

namespace {

// A printer that keeps the pages it is given.
struct Printer {
    QList<int> copies; // one entry per job sent
    bool refuses = false;
    struct Job : PrintJob {
        Printer& printer;
        RecordingSurface surface;
        int count = 0;
        explicit Job(Printer& p)
            : printer(p) {}
        void setUpPage() override {}
        void setCopyCount(qint16 n) override { count = n; }
        DrawingSurface* begin(const QString&) override { return &surface; }
        bool end() override {
            if (!printer.refuses)
                printer.copies << count;
            return !printer.refuses;
        }
        void discard() override {}
    };
    Main::PrintJobs jobs() {
        return [this] { return std::make_unique<Job>(*this); };
    }
};

// While it lives, answers each modal window (message box or preview) that
// shows and remembers what it said.
struct ModalWatcher {
    QStringList seen;
    std::function<void(QWidget*)> answer = [](QWidget* modal) { modal->close(); };
    QTimer timer;
    ModalWatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                seen << (box ? box->text() : modal->windowTitle());
                answer(modal);
            }
        });
        timer.start(20);
    }
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
        dialog = new FakeCommonDialog;
        printer = {};
        window = std::make_unique<Main>(dialog, printer.jobs());
    }
    void cleanup() { window.reset(); }

    // The window is fixed at its client size, every visible control lies
    // wholly inside it, and the frame has even margins left and right.
    void startUp() {
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->size(), QSize(416, 258));
        const QRect frame = control("Frame1")->geometry();
        QCOMPARE(frame.left(), window->width() - 1 - frame.right());
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
        // The page picture is pixel art: each pixel copied, edges crisp.
        const QPixmap a4 = control<QLabel>("A4")->pixmap();
        QCOMPARE(a4.deviceIndependentSize(), QSizeF(129, 181));
        QCOMPARE(a4.toImage().pixelColor(25, 80), QColor(Qt::white));
        QCOMPARE(a4.toImage().pixelColor(26, 80), QColor(Qt::black));
        QVERIFY(control<QLabel>("Image1")->pixmap().isNull());
    }

    void focusOrder() {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), control("A4"));
        // Tab stops at the selected option only, as option groups do.
        for (const char* next : {"JaarCombo", "KopTekstLinks", "VoetTekstLinks", "Option1_0",
                                 "KopTekstRechts", "VoettekstRechts", "CopyCombo", "Check1"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            if (qobject_cast<QComboBox*>(focus->parentWidget()))
                focus = focus->parentWidget();
            QCOMPARE(focus->objectName(), QString::fromLatin1(next));
        }
        for (const char* button : {"OkKnop", "ExitKnop", "Image1"})
            QCOMPARE(control(button)->focusPolicy(), Qt::NoFocus);
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

    // The photo goes into both the holder and the photo area, or neither.
    void photoLoad() {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.jpg"), bad = dir.filePath("bad.jpg");
        QImage photo(300, 200, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QVERIFY(photo.save(good) && QFile(bad).open(QIODevice::WriteOnly));
        dialog->answers = {good, bad, QString()};
        for (int i = 0; i < 3; ++i) {
            window->Image1_Click();
            QCOMPARE(control<PictureHolder>("Picture1")->size(), QSize(300, 200));
            QCOMPARE(control<QLabel>("Image1")->pixmap().size(), QSize(198, 118));
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        }
        QCOMPARE(dialog->filtersSeen.last(),
                 QStringLiteral("Frameblock (*.Jpg, *.Bmp, *.Gif) (*.jpg *bmp *.gif)"));
    }

    // OK opens a fresh preview with the current choices each time.
    void okOpensTheCurrentPreview() {
        ModalWatcher watcher;
        QStringList sizes;
        watcher.answer = [&](QWidget* preview) {
            sizes << preview->findChild<QLabel*>("Label3")->text();
            preview->close();
        };
        window->OkKnop_Click();
        window->Check1_Click();
        window->OkKnop_Click();
        QCOMPARE(watcher.seen, QStringList({" Example", " Example"}));
        QCOMPARE(sizes,
                 QStringList({"770 x 1100 pixels / 2.5 Mbytes", "1540 x 2200 pixels / 10 Mbytes"}));
    }

    // Print sends one job with the copies asked for; what cannot be printed
    // gives a message and sends nothing.
    void print_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<QString>("message");
        QTest::newRow("three copies") << "2009"
                                      << "3" << QList<int>{3} << "";
        QTest::newRow("copies not a number") << "2009"
                                             << "abc" << QList<int>{} << "copy's";
        QTest::newRow("no copies") << "2009"
                                   << "0" << QList<int>{} << "copy's";
        QTest::newRow("year not a number") << "20x5"
                                           << "1" << QList<int>{} << "geen geheel getal";
        QTest::newRow("year beyond 32 bits") << "2147483648"
                                             << "1" << QList<int>{} << "te groot";
    }
    void print() {
        QFETCH(QString, year);
        QFETCH(QString, copies);
        QFETCH(QList<int>, sent);
        QFETCH(QString, message);
        control<QRadioButton>("Option1_1")->setChecked(true);
        control<QComboBox>("JaarCombo")->setEditText(year);
        control<QComboBox>("CopyCombo")->setEditText(copies);
        ModalWatcher watcher;
        window->OkKnop_Click();
        QCOMPARE(printer.copies, sent);
        QCOMPARE(watcher.seen.size(), message.isEmpty() ? 0 : 1);
        QVERIFY(watcher.seen.value(0).contains(message));
    }

    // A second OK while one runs does nothing. Exit wins over an OK that has
    // not started its page yet; one being printed is sent, or its refusal
    // told, before the program ends with code 0.
    void races_data() {
        QTest::addColumn<bool>("print");
        QTest::addColumn<int>("at"); // ms after OK
        QTest::addColumn<QString>("click");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<bool>("ends");
        const QString refusal = "De printer kon de afdruk niet starten. Controleer de printer en "
                                "probeer het opnieuw.";
        QTest::newRow("OK during the feedback")
            << true << 100 << "ok" << false << QList<int>{1} << QStringList() << false;
        QTest::newRow("OK during the sweep")
            << true << 600 << "ok" << false << QList<int>{1} << QStringList() << false;
        QTest::newRow("OK during the feedback, bitmap")
            << false << 100 << "ok" << false << QList<int>() << QStringList{" Example"} << false;
        QTest::newRow("Exit during the feedback")
            << true << 100 << "exit" << false << QList<int>() << QStringList() << true;
        QTest::newRow("Exit during the sweep")
            << true << 600 << "exit" << false << QList<int>{1} << QStringList() << true;
        QTest::newRow("Exit during the sweep, job refused")
            << true << 600 << "exit" << true << QList<int>() << QStringList{refusal} << true;
    }
    void races() {
        QFETCH(bool, print);
        QFETCH(int, at);
        QFETCH(QString, click);
        QFETCH(bool, refused);
        QFETCH(QList<int>, sent);
        QFETCH(QStringList, seen);
        QFETCH(bool, ends);
        control<QRadioButton>(print ? "Option1_1" : "Option1_0")->setChecked(true);
        printer.refuses = refused;
        window->show();
        ModalWatcher watcher;
        QTimer::singleShot(
            at, [&] { click == "ok" ? window->OkKnop_Click() : window->ExitKnop_Click(); });
        QTimer::singleShot(0, [&] {
            window->OkKnop_Click();
            if (window->isVisible())
                QCoreApplication::exit(1);
        });
        QCOMPARE(QCoreApplication::exec(), ends ? 0 : 1);
        QCOMPARE(printer.copies, sent);
        QCOMPARE(watcher.seen, seen);
    }

    // Exit ends the program with code 0, 0.3 s after the click.
    void exitEnds() {
        window->show();
        QElapsedTimer clock;
        QTimer::singleShot(0, [&] {
            clock.start();
            window->ExitKnop_Click();
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(clock.elapsed() >= 300);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
