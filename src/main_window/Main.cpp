// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/Main.h"

#include "calendar/CopyCount.h"
#include "calendar/YearTable.h"
#include "calendar/YearText.h"
#include "drawing/PageGeometry.h"
#include "drawing/PageStyle.h"
#include "drawing/Twips.h"
#include "files/FileName.h"
#include "messages/Messages.h"
#include "messages/PhotoFits.h"
#include "photo/PhotoFormat.h"
#include "photo/PhotoLoader.h"
#include "preview/Voorbeeld.h"
#include "print_qt/PrinterJob.h"
#include "printing/PrintCalendar.h"
#include "widgets/CommonDialog.h"
#include "widgets/Controls.h"
#include "widgets/ImageButton.h"
#include "widgets/InterfaceFont.h"
#include "widgets/LineControl.h"
#include "widgets/MousePointer.h"
#include "widgets/Pause.h"
#include "widgets/PhotoArea.h"
#include "widgets/PictureHolder.h"
#include "widgets/Placement.h"
#include "widgets/PressFeedback.h"
#include "widgets/ProgressSweep.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QThread>

#include <utility>

// The pictures live in a static library, whose resource object the linker
// would otherwise drop.
static void initResources() {
    Q_INIT_RESOURCE(ostrabel);
}

using Controls::caption;
using Controls::imageButton;
using Controls::measuringLabel;
using Controls::setCaptionColor;
using Controls::setColor;

namespace {

const QColor headerBoxes(200, 210, 220);
const QColor footerBoxes(220, 210, 200);
const QColor listBoxes(255, 224, 192);

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
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

} // namespace

const QString Main::instructionText =
    QStringLiteral("1. Klik op de foto om een plaatje te laden. \r\n"
                   "2. Typ de kop- en voetteksten in. \r\n"
                   "3. Selecteer het jaartal. \r\n"
                   "4. Selecteer Bitmap of Print. \r\n"
                   "5. Aantal copy's bij het printen. \r\n"
                   "6. Druk op de Ok-knop om te starten.");

Main::Main(CommonDialog* dialog, PrintJobs printJobs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_commonDialog(dialog != nullptr ? dialog : new CommonDialog)
    , m_printJobs(printJobs ? std::move(printJobs) : PrintJobs(&PrinterJob::onDefaultPrinter))
    , m_choices(RememberedChoices::load()) {
    initResources();
    m_commonDialog->setParent(this);
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral(" Jaar Ostrabel"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/ostrabel.png")));
    setFont(interfaceFont());
    createControls();
    load();
}

// A photo still being read is waited for: its thread writes into this window.
Main::~Main() {
    if (m_loader) {
        m_loader->wait();
    }
}

// The controls with their texts, colours and pictures, created in layout
// order: later siblings lie on top of earlier ones. The load step places
// them; only the hidden helpers keep their layout places.
void Main::createControls() {
    resize(Twips::toPixels(9780), Twips::toPixels(5355));

    Picture1 = new PictureHolder(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    placeTwips(*Picture1, 210, 6570, 1275, 1545);
    Picture1->hide();

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    createInputs();
    createPage();
    createCaptions();
    nameInputs();
    createPageMenu();
    createPageKeys();
    setAcceptDrops(true);

    connect(Image1, &ImageButton::clicked, this, &Main::Image1_Click);
    connect(Check1, &QCheckBox::clicked, this, &Main::Check1_Click);
    connect(OkKnop, &ImageButton::clicked, this, &Main::OkKnop_Click);
    connect(ExitKnop, &ImageButton::clicked, this, &Main::ExitKnop_Click);
    createWindowKeys();
}

// The keyboard road: Ctrl+O chooses a photo as a click on the photo area
// does, Return or Enter is OK (an open list takes its own Return first, and a
// focused picture button its own), Ctrl+Q is Exit.
void Main::createWindowKeys() {
    const auto key = [this](const QKeySequence& keys, void (Main::*handler)()) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    key(QKeySequence::Open, &Main::Image1_Click);
    key(QKeySequence(Qt::Key_Return), &Main::OkKnop_Click);
    key(QKeySequence(Qt::Key_Enter), &Main::OkKnop_Click);
    key(QKeySequence(Qt::CTRL | Qt::Key_Q), &Main::ExitKnop_Click);
}

// The boxes, lists and buttons that take the user's choices.
void Main::createInputs() {
    Check1 = new QCheckBox(QStringLiteral("Klein"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    setCaptionColor(*Check1);
    Check1->setToolTip(QStringLiteral(" Save to Bitmap "));

    CopyCombo = comboBox(Frame1, "CopyCombo", QStringLiteral("1"));
    VoettekstRechts = textBox(Frame1, "VoettekstRechts", QStringLiteral("Voettekst rechts"));
    KopTekstRechts = textBox(Frame1, "KopTekstRechts", QStringLiteral("Koptekst rechts"));

    Option1[1] = new QRadioButton(QStringLiteral("Print"), Frame1);
    Option1[1]->setObjectName(QStringLiteral("Option1_1"));
    Option1[0] = new QRadioButton(QStringLiteral("Bitmap"), Frame1);
    Option1[0]->setObjectName(QStringLiteral("Option1_0"));
    for (QRadioButton* option : Option1) {
        setCaptionColor(*option);
    }
    Option1[0]->setChecked(true);

    VoetTekstLinks = textBox(Frame1, "VoetTekstLinks", QStringLiteral("Voettekst links"));
    KopTekstLinks = textBox(Frame1, "KopTekstLinks", QStringLiteral("Koptekst links"));
    JaarCombo = comboBox(Frame1, "JaarCombo", QStringLiteral("2005"));
}

// What a screen reader says of each control: the boxes start with example
// texts, so their names say what they are for.
void Main::nameInputs() {
    const std::pair<QWidget*, QString> names[] = {
        {KopTekstLinks, tr("Koptekst links")},
        {KopTekstRechts, tr("Koptekst rechts")},
        {VoetTekstLinks, tr("Voettekst links")},
        {VoettekstRechts, tr("Voettekst rechts")},
        {JaarCombo, tr("Jaartal")},
        {CopyCombo, tr("Aantal exemplaren")},
        {Check1, tr("Formaat van de bitmap")},
        {Option1[0], tr("Bitmap")},
        {Option1[1], tr("Print")},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(name);
    // On Linux a list is named by its caption, through the caption's buddy,
    // and its box for typing by its own name.
    Label2->setBuddy(JaarCombo);
    Label6->setBuddy(CopyCombo);
    JaarCombo->lineEdit()->setAccessibleName(JaarCombo->accessibleName());
    CopyCombo->lineEdit()->setAccessibleName(CopyCombo->accessibleName());
    Check1->setAccessibleDescription(
        tr("Klein is 770 x 1100 pixels, Groot is 1540 x 2200 pixels; klik om te wisselen."));
}

// The miniature page with its photo area and the progress line.
void Main::createPage() {
    A4back = new QLabel(Frame1);
    A4back->setObjectName(QStringLiteral("A4back"));
    A4back->setFrameStyle(QFrame::Box | QFrame::Plain);
    A4back->setAutoFillBackground(true);

    A4 = new QLabel(Frame1);
    A4->setObjectName(QStringLiteral("A4"));
    A4->setAccessibleName(tr("Kalenderpagina"));
    A4->setAccessibleDescription(
        tr("Ctrl+O kiest een foto; de menutoets of Shift+F10 opent het menu van de pagina; "
           "+, - en de pijltjes vergroten en verschuiven een bijgesneden foto."));
    A4->setPixmap(Controls::sharpPicture(QStringLiteral(":/pictures/a4.gif"), devicePixelRatioF()));
    A4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    A4->setFocusPolicy(Qt::StrongFocus);

    Image1 = new PhotoArea(tr("Foto laden"), A4);
    Image1->setAccessibleDescription(tr("Klik om een foto te kiezen (Ctrl+O)."));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFit(m_choices.fit);

    // The small photo's warning, over the photo area's top right corner; a
    // click on it chooses another photo, as one on the area does.
    m_softPhoto = new ImageButton(tr("Foto te klein voor een scherpe afdruk"), A4);
    m_softPhoto->setObjectName(QStringLiteral("FotoTeKlein"));
    const int badge = Twips::toPixels(195);
    m_softPhoto->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(badge, badge));
    m_softPhoto->hide();
    connect(m_softPhoto, &ImageButton::clicked, this, &Main::Image1_Click);

    Bar = new LineControl(A4);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setPoints(0, 2190, 1830, 2190);
    Bar->hide();
}

// Captions, the picture buttons, and the hidden measuring labels.
void Main::createCaptions() {
    Label6 = caption(Frame1, "Label6", QStringLiteral("Copy's"));
    Label3 = caption(Frame1, "Label3", QStringLiteral("Start"));
    OkKnop = imageButton(Frame1, "OkKnop", QStringLiteral("Ok"),
                         tr("Maakt de kalender: het voorbeeld bij Bitmap, de afdruk bij Print "
                            "(Enter)."),
                         QStringLiteral(":/pictures/ok.gif"));
    ExitKnop =
        imageButton(Frame1, "ExitKnop", QStringLiteral("Exit"), tr("Sluit het programma (Ctrl+Q)."),
                    QStringLiteral(":/pictures/exit.gif"));
    Label2 = caption(Frame1, "Label2", QStringLiteral("Year"));

    Label1 = caption(Frame1, "Label1", QStringLiteral("Label1"));
    QFont instructions(QStringLiteral("Arial"));
    instructions.setPointSizeF(8.25);
    Label1->setFont(instructions);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Labels are drawn on the frame itself, so they lie under its windowed
    // controls, and A4back under A4.
    for (QWidget* label : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                           static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label6),
                           static_cast<QWidget*>(A4back)}) {
        label->lower();
    }

    // The printed page measures its right-hand texts in these fonts.
    const PageStyle printed = PageStyle::printed();
    Label5 = measuringLabel(this, "Label5", QStringLiteral("Voettekstrechts"),
                            printed.footerMeasureFont);
    placeTwips(*Label5, 4590, 5910);
    Label4 =
        measuringLabel(this, "Label4", QStringLiteral("Koptekstrechts"), printed.headerMeasureFont);
    placeTwips(*Label4, 4560, 2010);
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
    placeControls();

    Label1->setText(instructionText);
    for (QLineEdit* box : {KopTekstLinks, KopTekstRechts}) {
        setColor(*box, QPalette::Base, headerBoxes);
    }
    for (QLineEdit* box : {VoetTekstLinks, VoettekstRechts}) {
        setColor(*box, QPalette::Base, footerBoxes);
    }
    fillLists();
    m_sizeFactor = 1;

    setTabOrder();
    A4->setFocus();
    centreOnScreen(*this, screen());
}

void Main::placeControls() {
    // Every visible control's final place, in the order the load step has
    // always placed them. A size of 0 leaves a label sized to its caption.
    const Placement places[] = {
        {Frame1, -15, 75, 6090, 3810},
        {A4back, 240, 150, 2055, 2835},
        {A4, 300, 210, 1935, 2715},
        {Image1, 300, 210, 1485, 885},
        {m_softPhoto, 330, 1470, 195, 195},
        {Label1, 990, 2400, 3600, 1290},
        {KopTekstLinks, 240, 2340, 3600, 285},
        {KopTekstRechts, 570, 2340, 3600, 285},
        {VoetTekstLinks, 2430, 2340, 3600, 315},
        {VoettekstRechts, 2790, 2340, 3600, 285},
        {Label6, 3330, 1440, 0, 0},
        {CopyCombo, 3270, 2010, 600, 315},
        {JaarCombo, 3270, 2700, 750, 315},
        {Label2, 3330, 3510, 0, 0},
        {Option1[0], 3150, 180, 855, 255},
        {Option1[1], 3450, 180, 795, 225},
        {OkKnop, ButtonRests::mainOk.top, ButtonRests::mainOk.left, 600, 450},
        {ExitKnop, ButtonRests::mainExit.top, ButtonRests::mainExit.left, 600, 450},
        {Label3, 3345, 4170, 0, 0},
        {Check1, 1530, 5070, 705, 345},
    };
    for (const Placement& place : places) {
        place.apply();
    }
}

void Main::fillLists() {
    // Filling a list must not change what the box shows, and the list stands
    // on that entry, so opening it and pressing Enter keeps the choice.
    const auto fill = [](QComboBox* combo, int first, int last) {
        const QString shown = combo->currentText();
        for (int entry = first; entry <= last; ++entry) {
            combo->addItem(QString::number(entry));
        }
        combo->setCurrentIndex(combo->findText(shown));
    };
    fill(CopyCombo, 1, 20);
    fill(JaarCombo, YearTable::firstYear, YearTable::lastYear);
}

void Main::setTabOrder() {
    // The layout's order, then the picture buttons, which it never reached.
    const QWidget* order[] = {A4,         JaarCombo,  KopTekstLinks,  VoetTekstLinks,
                              Option1[0], Option1[1], KopTekstRechts, VoettekstRechts,
                              CopyCombo,  Check1,     OkKnop,         ExitKnop};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    }
}

// The menu of the page picture, from a right click on the photo area or the
// page, or from the keyboard (the menu key or Shift+F10) while the page has
// the focus: the three ways into the frame, then the calendar's options.
void Main::createPageMenu() {
    m_pageMenu = new QMenu(this);
    m_pageMenu->setObjectName(QStringLiteral("FotoPassen"));
    m_pageMenu->setTitle(tr("Foto in het kader"));
    m_pageMenu->setAccessibleName(m_pageMenu->title());
    auto* ways = new QActionGroup(m_pageMenu);
    for (const PhotoFits::Way& way : PhotoFits::all()) {
        QAction* action = m_pageMenu->addAction(way.menuText);
        action->setCheckable(true);
        action->setChecked(way.fit == m_choices.fit);
        action->setData(int(way.fit));
        ways->addAction(action);
        connect(action, &QAction::triggered, this, [this, fit = way.fit] { setPhotoFit(fit); });
    }
    m_pageMenu->addSection(tr("Kalender"));
    const auto option = [this](const QString& text, bool checked, auto choose) {
        QAction* action = m_pageMenu->addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, &QAction::toggled, this, [this, choose](bool on) {
            choose(m_choices, on);
            m_choices.save();
        });
    };
    option(tr("Week begint op maandag"), m_choices.weekStart == WeekStart::Monday,
           [](RememberedChoices& c, bool on) {
               c.weekStart = on ? WeekStart::Monday : WeekStart::Sunday;
           });
    option(tr("Weeknummers"), m_choices.weekNumbers,
           [](RememberedChoices& c, bool on) { c.weekNumbers = on; });
    option(tr("Feestdagen"), m_choices.holidays,
           [](RememberedChoices& c, bool on) { c.holidays = on; });

    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPageMenu(Image1->mapToGlobal(at)); });
    A4->installEventFilter(this);
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] { showPageMenuFromKeyboard(); });
}

// The menu key opens the menu over the photo area, a right click where it is.
bool Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == A4 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        showPageFocus(event->type() == QEvent::FocusIn);
    if (watched == A4 && event->type() == QEvent::ContextMenu) {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        menu->reason() == QContextMenuEvent::Mouse ? showPageMenu(menu->globalPos())
                                                   : showPageMenuFromKeyboard();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The bordered panel around the page picture is its focus frame: it turns
// the selection colour and thicker while the page has the focus.
void Main::showPageFocus(bool focused) {
    A4back->setLineWidth(focused ? 2 : 1);
    setColor(*A4back, QPalette::WindowText,
             focused ? palette().color(QPalette::Highlight)
                     : palette().color(QPalette::WindowText));
}

void Main::showPageMenuFromKeyboard() {
    showPageMenu(Image1->mapToGlobal(Image1->rect().center()));
}

// Keys that act while the page picture has the focus: the menu, and moving
// and enlarging a cropped photo.
void Main::createPageKeys() {
    shortcut(QKeySequence(Qt::Key_Plus), [this] { Image1->zoomIn(); });
    shortcut(QKeySequence(Qt::Key_Equal), [this] { Image1->zoomIn(); });
    shortcut(QKeySequence(Qt::Key_Minus), [this] { Image1->zoomOut(); });
    constexpr double step = 0.1; // of the part shown
    shortcut(QKeySequence(Qt::Key_Left), [this] { Image1->moveBy(-step, 0); });
    shortcut(QKeySequence(Qt::Key_Right), [this] { Image1->moveBy(step, 0); });
    shortcut(QKeySequence(Qt::Key_Up), [this] { Image1->moveBy(0, -step); });
    shortcut(QKeySequence(Qt::Key_Down), [this] { Image1->moveBy(0, step); });
}

void Main::shortcut(const QKeySequence& keys, const std::function<void()>& action) {
    auto* key = new QShortcut(keys, A4);
    key->setContext(Qt::WidgetShortcut);
    connect(key, &QShortcut::activated, this, action);
}

void Main::showPageMenu(const QPoint& globalPosition) {
    m_pageMenu->popup(globalPosition);
}

void Main::setPhotoFit(PhotoFit fit) {
    m_choices.fit = fit;
    m_choices.save();
    for (QAction* action : m_pageMenu->actions()) {
        if (action->isCheckable() && action->data().isValid())
            action->setChecked(action->data().toInt() == int(fit));
    }
    Image1->setFit(fit);
}

void Main::showPhoto() {
    const QImage& photo = Picture1->picture();
    if (photo.isNull()) {
        return;
    }
    Image1->setPhoto(photo);
    // Nothing is refused for it, but a small photo prints soft, and the user
    // should know before the paper does: a badge in the photo area's corner
    // says so at once, its tip (wrapped, as rich text) says why.
    const bool soft = !PageGeometry::printsSharply(photo.size());
    const QString why = soft ? Messages::photoSmall(photo.size()) : QString();
    const QString tip = soft ? QStringLiteral("<p>%1</p>").arg(why.toHtmlEscaped()) : QString();
    Image1->setToolTip(tip);
    m_softPhoto->setToolTip(tip);
    m_softPhoto->setAccessibleDescription(why);
    m_softPhoto->setVisible(soft);
}

// The layout's own entry first, as it has always been (its dotless "*bmp"
// included), then every format the loader reads, then anything.
QString Main::photoFilter() {
    return QStringLiteral("Frameblock (*.Jpg, *.Bmp, *.Gif)|*.jpg;*bmp;*.gif|") +
           tr("Alle foto's (%1)").arg(PhotoFormat::labels().join(QStringLiteral(", "))) +
           QLatin1Char('|') + PhotoFormat::patterns() + QLatin1Char('|') + tr("Alle bestanden") +
           QStringLiteral("|*");
}

void Main::Image1_Click() {
    // One photo at a time: the area says it is loading one.
    if (Image1->loading()) {
        return;
    }
    m_commonDialog->fileName = QString();
    m_commonDialog->filter = photoFilter();
    if (m_commonDialog->showOpen(this)) {
        m_pictureFile = m_commonDialog->fileName;
        loadPhoto(m_pictureFile);
        return;
    }
    MousePointer::arrow();
}

// Once the window shows. A message about them waits until the window is the
// active one: it then comes over it and takes the keyboard, as the person
// expects, rather than over a window the desktop has not yet given focus.
void Main::openPhotos(const QStringList& paths) {
    m_holdMessages = !paths.isEmpty() && !isActiveWindow();
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            if (paths.size() > 1) {
                complain(tr("Open één foto tegelijk."));
            } else if (!paths.isEmpty()) {
                loadPhoto(paths.first());
            }
        },
        Qt::QueuedConnection);
}

void Main::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_holdMessages) {
        m_holdMessages = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                for (const QString& message : std::exchange(m_heldMessages, {}))
                    complain(message);
            },
            Qt::QueuedConnection);
    }
}

// Decoded once for both controls, so the photo on screen is always the photo
// that gets drawn, and on another thread, so the window stays alive meanwhile.
void Main::loadPhoto(const QString& path) {
    if (Image1->loading()) {
        complain(tr("Er wordt al een foto geladen. Wacht even en probeer het dan opnieuw."));
        return;
    }
    MousePointer::hourglass();
    Image1->setLoading(true);
    m_loader.reset(QThread::create(
        [this, path] { m_loaded = PhotoLoader::load(path, PageGeometry::photoPixels()); }));
    connect(m_loader.get(), &QThread::finished, this, [this, path] { photoLoaded(path); });
    m_loader->start();
}

// A file that is no photo changes nothing and says why; one cut short shows
// its damage and loads. An OK that came meanwhile runs now.
void Main::photoLoaded(const QString& path) {
    m_loader->wait();
    Image1->setLoading(false);
    MousePointer::arrow();
    if (m_loaded.photo.isNull()) {
        complain(Messages::photoRefused(FileName::shown(path), m_loaded));
    } else {
        Picture1->setPicture(m_loaded.photo);
        m_photoFile = path;
        showPhoto();
    }
    m_loaded = {};
    Q_EMIT photoLoadFinished();
    if (std::exchange(m_okAfterLoading, false)) {
        OkKnop_Click();
    }
}

void Main::complain(const QString& message) {
    MousePointer::arrow();
    if (m_holdMessages) {
        m_heldMessages << message;
        return;
    }
    Controls::warn(this, message);
}

void Main::dragEnterEvent(QDragEnterEvent* event) {
    // Anything is taken, so that what cannot be a photo is told why.
    event->acceptProposedAction();
}

void Main::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() > 1) {
        complain(tr("Sleep één foto tegelijk op het venster."));
    } else if (const QByteArray path = localFile(urls.value(0)); path.isEmpty()) {
        complain(tr("Alleen een fotobestand op deze computer kan als foto worden geladen. Sleep "
                    "een bestand uit een bestandsbeheerder."));
    } else {
        loadPhoto(FileName::fromNative(path));
    }
}

// The name on this computer a dropped URL stands for, as its own bytes (a
// name that is not UTF-8 stays the name on disk); none for what is not a
// local file with a whole, absolute name: a file on another host, a relative
// "file:foto.png", a name cut short by an encoded NUL.
QByteArray Main::localFile(const QUrl& url) {
    const QString host = url.host();
    if (!url.isLocalFile() || !(host.isEmpty() || host == QLatin1String("localhost")))
        return {};
    const QByteArray path =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return path.startsWith('/') && !path.contains('\0') ? path : QByteArray();
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
    content.photoFile = m_photoFile;
    content.photoFit = Image1->fit();
    content.photoCrop = Image1->crop();
    content.weekStart = m_choices.weekStart;
    content.weekNumbers = m_choices.weekNumbers;
    content.holidays = m_choices.holidays;
    content.year = year;
    return content;
}

std::optional<qint32> Main::yearOrComplain() {
    WholeNumber::Reading reading;
    const std::optional<qint32> year = YearText::parse(JaarCombo->currentText(), &reading);
    if (!year) {
        Controls::warn(this, Messages::yearInvalid(reading));
    }
    return year;
}

void Main::OkKnop_Click() {
    // One OK at a time: a second click during the feedback, the printing or
    // the preview would print or open everything twice.
    if (m_okRunning) {
        return;
    }
    // The page takes the photo being loaded: OK runs once it is in.
    if (Image1->loading()) {
        m_okAfterLoading = true;
        return;
    }
    m_okRunning = true;
    const auto finished = qScopeGuard([this] { m_okRunning = false; });
    PressFeedback(*OkKnop, ButtonRests::mainOk);
    if (m_exitRequested) {
        return; // Exit came during the feedback: no page is started any more.
    }
    const std::optional<qint32> year = yearOrComplain();
    if (!year) {
        return;
    }
    if (Option1[0]->isChecked()) {
        // Made afresh for every opening, so it always shows the current choices.
        Voorbeeld preview(pageContent(*year), m_sizeFactor, *m_commonDialog, this);
        preview.exec();
        return;
    }

    m_printing = true;
    const std::unique_ptr<PrintJob> job = m_printJobs();
    const std::optional<int> copies = CopyCount::parse(CopyCombo->currentText());
    const PageContent content = pageContent(*year);
    Controls::measured(*Label4, content.headerRight);
    Controls::measured(*Label5, content.footerRight);
    const PrintOutcome outcome = job && !copies
                                     ? PrintOutcome::Refused
                                     : PrintCalendar(content, copies.value_or(1), job.get(),
                                                     [this] { ProgressSweep(*Bar); });
    m_printing = false;
    // A page that did not go out is told, also when Exit waits for it.
    if (outcome != PrintOutcome::Printed) {
        Controls::warn(this, outcome == PrintOutcome::NoPrinter ? Messages::noDefaultPrinter()
                             : !copies                          ? Messages::copiesInvalid()
                                                                : Messages::printRefused());
    }
    if (m_exitRequested) {
        endProgram();
    }
}

// The close box is the other way out, and wins over OK just as Exit does.
// The close box runs Exit, which waits for a page being printed, once this
// close has returned (a close cannot close inside itself); it wins over an OK
// from the click on, as Exit does.
void Main::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    m_exitRequested = true;
    QMetaObject::invokeMethod(this, &Main::ExitKnop_Click, Qt::QueuedConnection);
}

void Main::endProgram() {
    m_ending = true;
    close();
    QCoreApplication::exit(0);
}

void Main::ExitKnop_Click() {
    // From the click on, no OK starts another page.
    m_exitRequested = true;
    PressFeedback(*ExitKnop, ButtonRests::mainExit);
    Pause(0.1f);
    // A page being printed was asked for already: OK sends it, then ends.
    if (!m_printing) {
        endProgram();
    }
}
