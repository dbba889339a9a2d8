// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/Voorbeeld.h"

#include "drawing/PageGeometry.h"
#include "drawing/PageStyle.h"
#include "drawing/RenderCalendarBitmap.h"
#include "drawing/Twips.h"
#include "files/FileName.h"
#include "messages/Messages.h"
#include "output/OutputFormat.h"
#include "output/SafeSave.h"
#include "widgets/BusyWork.h"
#include "widgets/CommonDialog.h"
#include "widgets/Controls.h"
#include "widgets/ImageButton.h"
#include "widgets/InterfaceFont.h"
#include "widgets/Pause.h"
#include "widgets/PictureHolder.h"
#include "widgets/Placement.h"
#include "widgets/PressFeedback.h"

#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

Voorbeeld::Voorbeeld(const PageContent& content, int sizeFactor, CommonDialog& dialog,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_dialog(dialog)
    , m_content(content)
    , m_sizeFactor(sizeFactor) {
    setObjectName(QStringLiteral("Voorbeeld"));
    setWindowTitle(QStringLiteral(" Example"));
    setModal(true);
    setFont(interfaceFont());
    setAttribute(Qt::WA_DeleteOnClose, false);
    createControls();
    load(content);
}

QString Voorbeeld::sizeText(int sizeFactor) {
    return sizeFactor == 1 ? QStringLiteral("770 x 1100 pixels / 2.5 Mbytes")
                           : QStringLiteral("1540 x 2200 pixels / 10 Mbytes");
}

const QImage& Voorbeeld::page() const {
    return Pic->picture();
}

// The controls with their texts, fonts and pictures, in layout order. The
// load step places them; the hidden ones keep their layout places.
void Voorbeeld::createControls() {
    resize(Twips::toPixels(7650), Twips::toPixels(5355));

    Pic = new PictureHolder(this);
    Pic->setObjectName(QStringLiteral("Pic"));
    Pic->hide();

    Label3 = Controls::caption(this, "Label3", sizeText(2));

    const PageStyle style = PageStyle::bitmap(1);
    Voettekstrechts = Controls::measuringLabel(this, "Voettekstrechts", QStringLiteral("Label3"),
                                               style.footerMeasureFont);
    placeTwips(*Voettekstrechts, 3240, 3990);
    Koptekstrechts = Controls::measuringLabel(
        this, "Koptekstrechts", QStringLiteral("Koptekstrechts"), style.headerMeasureFont);
    placeTwips(*Koptekstrechts, 2490, 3840);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Voorbeeld van de kalender"));

    Label2 = Controls::caption(this, "Label2", QStringLiteral("Save as Bmp"));
    QStringList formats = OutputFormat::names();
    for (QString& format : formats)
        format = format.toUpper();
    OkKnop = Controls::imageButton(
        this, "OkKnop", tr("Opslaan"),
        tr("Bewaart de kalender als %1 (Ctrl+S).").arg(Messages::either(formats)),
        QStringLiteral(":/pictures/ok.gif"));
    ExitKnop =
        Controls::imageButton(this, "ExitKnop", tr("Sluiten"), tr("Sluit het voorbeeld (Escape)."),
                              QStringLiteral(":/pictures/exit.gif"));

    // The bordered panel lies under everything, as the frame of the preview.
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label1->setAutoFillBackground(true);
    Label1->lower();

    connect(OkKnop, &ImageButton::clicked, this, &Voorbeeld::OkKnop_Click);
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, &Voorbeeld::OkKnop_Click);
    connect(ExitKnop, &ImageButton::clicked, this, &Voorbeeld::ExitKnop_Click);
}

void Voorbeeld::load(const PageContent& content) {
    // The outer size is 6600 x 9900 twips. As on the main window, the client
    // area is that less 60 across and 345 down for the window manager's frame:
    // 6540 x 9555 (436 x 637 px), which holds the buttons (right edge 6375)
    // and the texts (bottom 9240) with a margin. The window may be resized;
    // nothing reflows.
    resize(Twips::toPixels(clientWidthTwips), Twips::toPixels(clientHeightTwips));

    // The page surface keeps its layout place and takes the page's size.
    const Placement places[] = {
        {Label1, 120, 90, 6300, 8700},
        {Image1, 180, 150, 6180, 8580},
        {Pic, 300, 4080, PageGeometry::widthTwips * m_sizeFactor,
         PageGeometry::heightTwips * m_sizeFactor},
        {OkKnop, m_okRest.top, m_okRest.left, 600, 450},
        {ExitKnop, m_exitRest.top, m_exitRest.left, 600, 450},
        {Label2, 9045, 3990, 0, 0},
        {Label3, 9045, 120, 0, 0},
    };
    for (const Placement& place : places) {
        place.apply();
    }

    if (m_sizeFactor == 1 || m_sizeFactor == 2) {
        Label3->setText(sizeText(m_sizeFactor));
        Label3->adjustSize();
    }

    // A large page takes a moment: it is drawn on another thread while the
    // main window goes on repainting.
    const QImage page = BusyWork([&] { return RenderCalendarBitmap(content, m_sizeFactor); });
    Pic->setPicture(page);

    Controls::measured(*Koptekstrechts, content.headerRight);
    Controls::measured(*Voettekstrechts, content.footerRight);

    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    fitTo(screen);
    // Reduced smoothly, so the preview stays readable.
    Image1->setPixmap(Controls::reduced(page, Image1->size(), devicePixelRatioF()));
    centreOnScreen(*this, screen);
}

// On a screen too low for the window (a laptop at 200 %), the reduced page
// gets smaller and what lies under it moves up, buttons and their resting
// places included, until the window with its frame fits; the saved page stays
// the same.
void Voorbeeld::fitTo(const QScreen* screen) {
    constexpr int frame = 40;       // what a window manager adds above and below, at most
    constexpr int panelMargin = 60; // twips of the bordered panel around the page
    constexpr int smallestPage = 120;
    if (screen == nullptr)
        return;
    const int excess = height() + frame - screen->availableGeometry().height();
    const int shrink = qMin(excess, Image1->height() - smallestPage);
    if (shrink <= 0)
        return;
    const QRect page = Image1->geometry();
    const int width = page.width() * (page.height() - shrink) / page.height();
    Image1->setGeometry(page.left() + (page.width() - width) / 2, page.top(), width,
                        page.height() - shrink);
    const int border = Twips::toPixels(panelMargin);
    Label1->setGeometry(Image1->geometry().marginsAdded(QMargins(border, border, border, border)));
    for (QWidget* below : {static_cast<QWidget*>(OkKnop), static_cast<QWidget*>(ExitKnop),
                           static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3)})
        below->move(below->x(), below->y() - shrink);
    m_okRest.top -= Twips::fromPixels(shrink);
    m_exitRest.top -= Twips::fromPixels(shrink);
    resize(this->width(), height() - shrink);
}

void Voorbeeld::OkKnop_Click() {
    // One save at a time: a second click during the feedback or the dialog
    // would open a second dialog after the first.
    if (m_saving) {
        return;
    }
    m_saving = true;
    const auto saved = qScopeGuard([this] { m_saving = false; });
    PressFeedback(*OkKnop, m_okRest);
    m_dialog.fileName = QString();
    m_dialog.flags = CommonDialog::OverwritePrompt | CommonDialog::NoReadOnlyReturn;
    m_dialog.filter = OutputFormat::dialogFilter();
    m_dialog.filterIndex = 1;
    if (!m_dialog.showSave(this)) {
        return; // Cancel stays silent.
    }
    // Silence here would let the user believe the calendar was saved.
    const QString& path = m_dialog.fileName;
    if (!m_content.photoFile.isEmpty() && SafeSave::sameFile(path, m_content.photoFile)) {
        Controls::warn(this, Messages::outputIsPhoto(FileName::shown(path)));
        return;
    }
    FileError error;
    if (!BusyWork([&] { return save(path, &error); })) {
        Controls::warn(this, Messages::notSaved(error));
    }
}

bool Voorbeeld::save(const QString& path, FileError* error) const {
    // The extension typed decides; without one, the type chosen. The name is
    // used as it is: nothing is added to it.
    const OutputFormat* format = OutputFormat::forFile(path);
    if (format == nullptr)
        format = &OutputFormat::all().at(
            qBound(1, m_dialog.filterIndex, int(OutputFormat::all().size())) - 1);
    return format->save({m_content, m_sizeFactor, page()}, path, error);
}

void Voorbeeld::ExitKnop_Click() {
    PressFeedback(*ExitKnop, m_exitRest);
    Pause(0.1f);
    accept();
}
