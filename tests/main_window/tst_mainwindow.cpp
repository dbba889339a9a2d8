#include "drawing/PageStyle.h"
#include "drawing/TextMeasure.h"
#include "drawing/Twips.h"
#include "main_window/ImageButton.h"
#include "main_window/LineControl.h"
#include "main_window/Main.h"
#include "main_window/PictureHolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

// What a user sees right after start-up.
class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { window = std::make_unique<Main>(); }
    void cleanup() { window.reset(); }

    void captionAndFixedBorder() {
        QCOMPARE(window->windowTitle(), QStringLiteral(" Jaar Ostrabel"));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(window->sizeFactor(), 1);
        // The frame must show whole, with equal margins left and right.
        const QRect frame = window->Frame1->geometry();
        QCOMPARE(frame.left(), window->width() - 1 - frame.right());
        QVERIFY(frame.bottom() < window->height());
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips"); // left, top, width, height
        QTest::newRow("Frame1") << "Frame1" << QRect(75, -15, 6090, 3810);
        QTest::newRow("A4back") << "A4back" << QRect(150, 240, 2055, 2835);
        QTest::newRow("A4") << "A4" << QRect(210, 300, 1935, 2715);
        QTest::newRow("Image1") << "Image1" << QRect(210, 300, 1485, 885);
        QTest::newRow("Label1") << "Label1" << QRect(2400, 990, 3600, 1290);
        QTest::newRow("KopTekstLinks") << "KopTekstLinks" << QRect(2340, 240, 3600, 285);
        QTest::newRow("KopTekstRechts") << "KopTekstRechts" << QRect(2340, 570, 3600, 285);
        QTest::newRow("VoetTekstLinks") << "VoetTekstLinks" << QRect(2340, 2430, 3600, 315);
        QTest::newRow("VoettekstRechts") << "VoettekstRechts" << QRect(2340, 2790, 3600, 285);
        QTest::newRow("Label6") << "Label6" << QRect(1440, 3330, -1, -1);
        QTest::newRow("CopyCombo") << "CopyCombo" << QRect(2010, 3270, 600, 315);
        QTest::newRow("JaarCombo") << "JaarCombo" << QRect(2700, 3270, 750, 315);
        QTest::newRow("Label2") << "Label2" << QRect(3510, 3330, -1, -1);
        QTest::newRow("Bitmap") << "Option1_0" << QRect(180, 3150, 855, 255);
        QTest::newRow("Print") << "Option1_1" << QRect(180, 3450, 795, 225);
        QTest::newRow("OkKnop") << "OkKnop" << QRect(4590, 3240, 600, 450);
        QTest::newRow("ExitKnop") << "ExitKnop" << QRect(5340, 3240, 600, 450);
        QTest::newRow("Label3") << "Label3" << QRect(4170, 3345, -1, -1);
        QTest::newRow("Check1") << "Check1" << QRect(5070, 1530, 705, 345);
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        auto* control = window->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->pos(),
                 QPoint(Twips::toPixels(twips.left()), Twips::toPixels(twips.top())));
        if (twips.width() > 0) {
            QCOMPARE(control->size(),
                     QSize(Twips::toPixels(twips.width()), Twips::toPixels(twips.height())));
        }
    }

    void texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("KopTekstLinks") << "KopTekstLinks"
                                       << "Koptekst links";
        QTest::newRow("KopTekstRechts") << "KopTekstRechts"
                                        << "Koptekst rechts";
        QTest::newRow("VoetTekstLinks") << "VoetTekstLinks"
                                        << "Voettekst links";
        QTest::newRow("VoettekstRechts") << "VoettekstRechts"
                                         << "Voettekst rechts";
        QTest::newRow("JaarCombo") << "JaarCombo"
                                   << "2005";
        QTest::newRow("CopyCombo") << "CopyCombo"
                                   << "1";
        QTest::newRow("Check1") << "Check1"
                                << "Klein";
        QTest::newRow("Bitmap") << "Option1_0"
                                << "Bitmap";
        QTest::newRow("Print") << "Option1_1"
                               << "Print";
        QTest::newRow("Label6") << "Label6"
                                << "Copy's";
        QTest::newRow("Label2") << "Label2"
                                << "Year";
        QTest::newRow("Label3") << "Label3"
                                << "Start";
    }
    void texts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QObject* control = window->findChild<QObject*>(name);
        QVERIFY(control);
        QString shown;
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            shown = combo->currentText();
        } else {
            shown = control->property("text").toString();
        }
        QCOMPARE(shown, text);
        if (auto* box = qobject_cast<QWidget*>(control)) {
            QVERIFY(box->isVisibleTo(window.get()));
        }
    }

    void instructions() {
        const QStringList lines = window->Label1->text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QStringLiteral("1. Klik op de foto om een plaatje te laden. "));
        QCOMPARE(lines.last(), QStringLiteral("6. Druk op de Ok-knop om te starten."));
        for (int i = 0; i < 5; ++i) {
            QVERIFY2(lines[i].endsWith(QLatin1Char(' ')), qPrintable(lines[i]));
        }
        QVERIFY(window->Label1->wordWrap());
        QCOMPARE(window->Label1->font().pointSizeF(), 8.25);
    }

    void lists() {
        QCOMPARE(window->JaarCombo->count(), 21);
        QCOMPARE(window->JaarCombo->itemText(0), QStringLiteral("2000"));
        QCOMPARE(window->JaarCombo->itemText(20), QStringLiteral("2020"));
        QCOMPARE(window->CopyCombo->count(), 20);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(window->CopyCombo->itemText(i), QString::number(i + 1));
        }
        QVERIFY(window->JaarCombo->isEditable());
        QVERIFY(window->CopyCombo->isEditable());
        QVERIFY(window->Option1[0]->isChecked());
        QVERIFY(!window->Option1[1]->isChecked());
        QCOMPARE(window->Check1->toolTip(), QStringLiteral(" Save to Bitmap "));
    }

    void colours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("background");
        QTest::newRow("KopTekstLinks") << "KopTekstLinks" << QColor(200, 210, 220);
        QTest::newRow("KopTekstRechts") << "KopTekstRechts" << QColor(200, 210, 220);
        QTest::newRow("VoetTekstLinks") << "VoetTekstLinks" << QColor(220, 210, 200);
        QTest::newRow("VoettekstRechts") << "VoettekstRechts" << QColor(220, 210, 200);
        QTest::newRow("JaarCombo") << "JaarCombo" << QColor(255, 224, 192);
        QTest::newRow("CopyCombo") << "CopyCombo" << QColor(255, 224, 192);
    }
    void colours() {
        QFETCH(QString, name);
        QFETCH(QColor, background);
        auto* control = window->findChild<QWidget*>(name);
        QCOMPARE(control->palette().color(QPalette::Base), background);
    }

    void hiddenControls() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (QWidget* hidden :
             {static_cast<QWidget*>(window->Picture1), static_cast<QWidget*>(window->Label4),
              static_cast<QWidget*>(window->Label5), static_cast<QWidget*>(window->Bar)}) {
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        }
        QVERIFY(window->Image1->pixmap().isNull());
        QVERIFY(!window->A4->pixmap().isNull());
        QCOMPARE(window->A4->pixmap().size(), QSize(129, 181));
    }

    // The printed page right-aligns its texts by these labels' widths.
    void measuringLabelsAgreeWithThePage_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("layout text") << "Koptekst rechts";
        QTest::newRow("markup stays text") << "<b>Familie</b>";
        QTest::newRow("long") << "Een heel lange koptekst voor de rechterkant";
    }
    void measuringLabelsAgreeWithThePage() {
        QFETCH(QString, text);
        const PageStyle printed = PageStyle::printed();
        for (auto [label, font] : {std::pair{window->Label4, printed.headerMeasureFont},
                                   std::pair{window->Label5, printed.footerMeasureFont}}) {
            label->setText(text);
            label->adjustSize();
            QCOMPARE(Twips::fromPixels(label->width()), TextMeasure::widthTwips(font, text));
        }
        QCOMPARE(window->Label4->font().pointSizeF(), 20.25);
        QCOMPARE(window->Label5->font().pointSizeF(), 9.0);
    }

    void focusOrder() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->A4));
        const QList<QWidget*> expected = {window->JaarCombo,      window->KopTekstLinks,
                                          window->VoetTekstLinks, window->Option1[0],
                                          window->KopTekstRechts, window->VoettekstRechts,
                                          window->CopyCombo,      window->Check1};
        // Tab stops at the selected option only, as option groups do.
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            while (focus && focus->parentWidget() && focus->focusProxy() == nullptr &&
                   qobject_cast<QComboBox*>(focus->parentWidget())) {
                focus = focus->parentWidget();
            }
            QCOMPARE(focus, next);
        }
        for (QWidget* button :
             {static_cast<QWidget*>(window->OkKnop), static_cast<QWidget*>(window->ExitKnop),
              static_cast<QWidget*>(window->Image1)}) {
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QVERIFY(!button->accessibleName().isEmpty());
        }
    }

    void sizeToggleAlternates() {
        QCOMPARE(window->Check1->text(), QStringLiteral("Klein"));
        QTest::mouseClick(window->Check1, Qt::LeftButton);
        QCOMPARE(window->sizeFactor(), 2);
        QCOMPARE(window->Check1->text(), QStringLiteral("Groot"));
        // Keyboard toggles count too; the tick itself is never consulted.
        window->Check1->setFocus();
        QTest::keyClick(window->Check1, Qt::Key_Space);
        QCOMPARE(window->sizeFactor(), 1);
        QCOMPARE(window->Check1->text(), QStringLiteral("Klein"));
    }

private:
    std::unique_ptr<Main> window;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
