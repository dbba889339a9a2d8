#include "main_window/Main.h"

#include "drawing/PageStyle.h"
#include "drawing/Twips.h"
#include "main_window/CommonDialog.h"
#include "main_window/Controls.h"
#include "main_window/ImageButton.h"
#include "main_window/InterfaceFont.h"
#include "main_window/LineControl.h"
#include "main_window/MousePointer.h"
#include "main_window/Pause.h"
#include "main_window/PhotoLoader.h"
#include "main_window/PictureHolder.h"
#include "main_window/Placement.h"
#include "main_window/PressFeedback.h"
#include "main_window/YearText.h"
#include "preview/Voorbeeld.h"
#include "printing/PrintCalendar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

// The pictures live in the static core library, whose resource object the
// linker would otherwise drop.
static void initResources() {
    Q_INIT_RESOURCE(ostrabel);
}

using Controls::measuringLabel;
using Controls::setColor;

namespace {

const QColor captionText(64, 64, 64);
const QColor headerBoxes(200, 210, 220);
const QColor footerBoxes(220, 210, 200);
const QColor listBoxes(255, 224, 192);
const QColor layoutBoxes(224, 224, 224);

QLabel* caption(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    setColor(*label, QPalette::WindowText, captionText);
    label->adjustSize();
    return label;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    setColor(*box, QPalette::Base, layoutBoxes);
    return box;
}

QComboBox* comboBox(QWidget* parent, const char* name, const QString& text) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(text);
    setColor(*combo, QPalette::Base, listBoxes);
    setColor(*combo->lineEdit(), QPalette::Base, listBoxes);
    return combo;
}

ImageButton* imageButton(QWidget* parent, const char* name, const QString& accessibleName,
                         const QString& picture) {
    auto* button = new ImageButton(accessibleName, parent);
    button->setObjectName(QLatin1String(name));
    button->setPixmap(QPixmap(picture));
    return button;
}

} // namespace

const QString Main::instructionText =
    QStringLiteral("1. Klik op de foto om een plaatje te laden. \r\n"
                   "2. Typ de kop- en voetteksten in. \r\n"
                   "3. Selecteer het jaartal. \r\n"
                   "4. Selecteer Bitmap of Print. \r\n"
                   "5. Aantal copy's bij het printen. \r\n"
                   "6. Druk op de Ok-knop om te starten.");

Main::Main(CommonDialog* dialog, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_commonDialog(dialog != nullptr ? dialog : new CommonDialog) {
    initResources();
    m_commonDialog->setParent(this);
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral(" Jaar Ostrabel"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/ostrabel.png")));
    setFont(interfaceFont());
    createControls();
    load();
}

Main::~Main() = default;

// The controls as laid out, before the load step moves most of them.
void Main::createControls() {
    Picture1 = new PictureHolder(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    placeTwips(*Picture1, 210, 6570, 1275, 1545);
    Picture1->hide();

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    placeTwips(*Frame1, 30, 90, 6015, 4065);

    // Created in layout order: later siblings lie on top of earlier ones.
    Check1 = new QCheckBox(QStringLiteral("Klein"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    setColor(*Check1, QPalette::WindowText, captionText);
    Check1->setToolTip(QStringLiteral(" Save to Bitmap "));
    placeTwips(*Check1, 1530, 5070, 705, 345);

    CopyCombo = comboBox(Frame1, "CopyCombo", QStringLiteral("1"));
    placeTwips(*CopyCombo, 3540, 1860, 615, 315);
    VoettekstRechts = textBox(Frame1, "VoettekstRechts", QStringLiteral("Voettekst rechts"));
    placeTwips(*VoettekstRechts, 2850, 2340, 3585, 285);
    KopTekstRechts = textBox(Frame1, "KopTekstRechts", QStringLiteral("Koptekst rechts"));
    placeTwips(*KopTekstRechts, 600, 2340, 3585, 285);

    Option1[1] = new QRadioButton(QStringLiteral("Print"), Frame1);
    Option1[1]->setObjectName(QStringLiteral("Option1_1"));
    placeTwips(*Option1[1], 3630, 240, 795, 225);
    Option1[0] = new QRadioButton(QStringLiteral("Bitmap"), Frame1);
    Option1[0]->setObjectName(QStringLiteral("Option1_0"));
    placeTwips(*Option1[0], 3300, 240, 855, 255);
    for (QRadioButton* option : Option1) {
        setColor(*option, QPalette::WindowText, captionText);
    }
    Option1[0]->setChecked(true);

    VoetTekstLinks = textBox(Frame1, "VoetTekstLinks", QStringLiteral("Voettekst links"));
    placeTwips(*VoetTekstLinks, 2490, 2340, 3585, 315);
    KopTekstLinks = textBox(Frame1, "KopTekstLinks", QStringLiteral("Koptekst links"));
    placeTwips(*KopTekstLinks, 270, 2310, 3585, 285);
    JaarCombo = comboBox(Frame1, "JaarCombo", QStringLiteral("2005"));
    placeTwips(*JaarCombo, 3540, 2550, 855, 315);

    // Labels are drawn on the frame itself, so they go below the windowed
    // controls; A4back must lie under A4.
    A4back = new QLabel(Frame1);
    A4back->setObjectName(QStringLiteral("A4back"));
    A4back->setFrameStyle(QFrame::Box | QFrame::Plain);
    A4back->setAutoFillBackground(true);
    placeTwips(*A4back, 270, 210, 1995, 2895);

    A4 = new QLabel(Frame1);
    A4->setObjectName(QStringLiteral("A4"));
    A4->setAccessibleName(QStringLiteral("Kalenderpagina"));
    A4->setPixmap(QPixmap(QStringLiteral(":/pictures/a4.gif")));
    A4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    A4->setFocusPolicy(Qt::StrongFocus);
    placeTwips(*A4, 360, 300, 1815, 2715);

    Image1 = new ImageButton(QStringLiteral("Foto laden"), A4);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    placeTwips(*Image1, 270, 180, 1545, 945);

    Bar = new LineControl(A4);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setPoints(0, 2190, 1830, 2190);
    Bar->hide();

    Label6 = caption(Frame1, "Label6", QStringLiteral("Copy's"));
    placeTwips(*Label6, 3570, 1320);
    Label3 = caption(Frame1, "Label3", QStringLiteral("Start"));
    placeTwips(*Label3, 3600, 4080);
    OkKnop =
        imageButton(Frame1, "OkKnop", QStringLiteral("Ok"), QStringLiteral(":/pictures/ok.gif"));
    placeTwips(*OkKnop, 3450, 4560, 600, 450);
    ExitKnop = imageButton(Frame1, "ExitKnop", QStringLiteral("Exit"),
                           QStringLiteral(":/pictures/exit.gif"));
    placeTwips(*ExitKnop, 3450, 5280, 600, 450);
    Label2 = caption(Frame1, "Label2", QStringLiteral("Year"));
    placeTwips(*Label2, 3570, 3510);

    Label1 = caption(Frame1, "Label1", QStringLiteral("Label1"));
    QFont instructions(QStringLiteral("Arial"));
    instructions.setPointSizeF(8.25);
    Label1->setFont(instructions);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(*Label1, 1170, 2340, 3495, 1245);

    // Stacking: the labels drawn on the frame lie under its windowed controls.
    for (QWidget* label : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                           static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label6),
                           static_cast<QWidget*>(A4back)}) {
        label->lower();
    }
    A4back->lower();

    // The printed page measures its right-hand texts in these fonts.
    const PageStyle printed = PageStyle::printed();
    Label5 = measuringLabel(this, "Label5", QStringLiteral("Voettekstrechts"),
                            printed.footerMeasureFont);
    placeTwips(*Label5, 4590, 5910);
    Label4 =
        measuringLabel(this, "Label4", QStringLiteral("Koptekstrechts"), printed.headerMeasureFont);
    placeTwips(*Label4, 4560, 2010);

    connect(Image1, &ImageButton::clicked, this, &Main::Image1_Click);
    connect(Check1, &QCheckBox::clicked, this, &Main::Check1_Click);
    connect(OkKnop, &ImageButton::clicked, this, &Main::OkKnop_Click);
    connect(ExitKnop, &ImageButton::clicked, this, &Main::ExitKnop_Click);
}

void Main::load() {
    // The outer size is 6300 x 4215 twips on the desktop this layout was made
    // for. Its frame is not ours to set, so the client area is derived from
    // what it must show: Frame1 at left 75 and 6090 wide, with the same 75
    // margin on the right, gives 75 + 6090 + 75 = 6240 (416 px); Frame1 ends
    // at -15 + 3810 = 3795, and the same 75 margin below it gives 3870
    // (258 px). That leaves 60 x 345 twips of the outer size (2 px per side,
    // and a 23 px title bar) for the window manager's frame.
    setFixedSize(Twips::toPixels(clientWidthTwips), Twips::toPixels(clientHeightTwips));

    placeTwips(*Frame1, -15, 75, 6090, 3810);
    placeTwips(*A4back, 240, 150, 2055, 2835);
    placeTwips(*A4, 300, 210, 1935, 2715);
    placeTwips(*Image1, 300, 210, 1485, 885);
    placeTwips(*Label1, 990, 2400, 3600, 1290);

    Label1->setText(instructionText);

    struct TextBoxPlace {
        QLineEdit* box;
        int top;
        QColor background;
    };
    for (const TextBoxPlace& place : {TextBoxPlace{KopTekstLinks, 240, headerBoxes},
                                      TextBoxPlace{KopTekstRechts, 570, headerBoxes},
                                      TextBoxPlace{VoetTekstLinks, 2430, footerBoxes},
                                      TextBoxPlace{VoettekstRechts, 2790, footerBoxes}}) {
        placeTwips(*place.box, place.top, 2340, 3600, Twips::fromPixels(place.box->height()));
        setColor(*place.box, QPalette::Base, place.background);
    }

    placeTwips(*Label6, 3330, 1440);
    placeTwips(*CopyCombo, 3270, 2010, 600, Twips::fromPixels(CopyCombo->height()));
    for (int copies = 1; copies <= 20; ++copies) {
        CopyCombo->addItem(QString::number(copies));
    }
    placeTwips(*JaarCombo, 3270, 2700, 750, Twips::fromPixels(JaarCombo->height()));
    for (int year = 2000; year <= 2020; ++year) {
        JaarCombo->addItem(QString::number(year));
    }
    // Filling a list must not change what the box shows.
    CopyCombo->setEditText(QStringLiteral("1"));
    JaarCombo->setEditText(QStringLiteral("2005"));

    placeTwips(*Label2, 3330, 3510);
    placeTwips(*Option1[0], 3150, 180);
    placeTwips(*Option1[1], 3450, 180);
    placeTwips(*OkKnop, ButtonRests::mainOk.top, ButtonRests::mainOk.left);
    placeTwips(*ExitKnop, ButtonRests::mainExit.top, ButtonRests::mainExit.left);
    placeTwips(*Label3, 3345, 4170);
    placeTwips(*Check1, 1530, 5070);

    m_sizeFactor = 1;

    setTabOrder();
    A4->setFocus();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen()->availableGeometry()));
}

void Main::setTabOrder() {
    const QWidget* order[] = {A4,         JaarCombo,  KopTekstLinks,  VoetTekstLinks,
                              Option1[0], Option1[1], KopTekstRechts, VoettekstRechts,
                              CopyCombo,  Check1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    }
}

void Main::Image1_Click() {
    m_commonDialog->fileName = QString();
    m_commonDialog->filter = QStringLiteral("Frameblock (*.Jpg, *.Bmp, *.Gif)|*.jpg;*bmp;*.gif");
    if (m_commonDialog->showOpen(this)) {
        MousePointer::hourglass();
        m_pictureFile = m_commonDialog->fileName;
        // Decoded once for both controls, so the photo on screen is always
        // the photo that gets drawn. A file that is no picture changes nothing.
        const QImage photo = PhotoLoader::load(m_pictureFile);
        if (!photo.isNull()) {
            Picture1->setPicture(photo);
            Image1->setPixmap(QPixmap::fromImage(
                photo.scaled(Image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        }
    }
    MousePointer::arrow();
}

void Main::Check1_Click() {
    // Only the size decides, never the tick, so each click alternates.
    if (m_sizeFactor == 1) {
        m_sizeFactor = 2;
        Check1->setText(QStringLiteral("Groot"));
    } else {
        m_sizeFactor = 1;
        Check1->setText(QStringLiteral("Klein"));
    }
}

PageContent Main::pageContent(qint32 year) const {
    PageContent content;
    content.headerLeft = KopTekstLinks->text();
    content.headerRight = KopTekstRechts->text();
    content.footerLeft = VoetTekstLinks->text();
    content.footerRight = VoettekstRechts->text();
    content.photo = Picture1->picture();
    content.year = year;
    return content;
}

std::optional<qint32> Main::yearOrComplain() {
    const std::optional<qint32> year = YearText::parse(JaarCombo->currentText());
    if (!year) {
        QMessageBox::warning(this, QStringLiteral("Ostrabel"), YearText::invalidMessage());
    }
    return year;
}

void Main::OkKnop_Click() {
    PressFeedback(*OkKnop, ButtonRests::mainOk);
    if (Option1[0]->isChecked()) {
        const std::optional<qint32> year = yearOrComplain();
        if (!year) {
            return;
        }
        // Made afresh for every opening, so it always shows the current choices.
        Voorbeeld preview(pageContent(*year), m_sizeFactor, *m_commonDialog, this);
        preview.exec();
        return;
    }
    const std::optional<qint32> year = yearOrComplain();
    if (!year) {
        return;
    }
    ++m_printing;
    const PrintOutcome outcome = PrintCalendar(*year, *this);
    --m_printing;
    if (m_exitRequested) {
        if (m_printing == 0) {
            endProgram();
        }
        return;
    }
    if (!outcome.printed) {
        QMessageBox::warning(this, QStringLiteral("Ostrabel"), outcome.message);
    }
}

void Main::endProgram() {
    close();
    QCoreApplication::exit(0);
}

void Main::ExitKnop_Click() {
    PressFeedback(*ExitKnop, ButtonRests::mainExit);
    Pause(0.1f);
    if (m_printing > 0) {
        // The user already asked for that page: send it, then end.
        m_exitRequested = true;
        return;
    }
    endProgram();
}
