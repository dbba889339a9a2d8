#include "preview/Voorbeeld.h"

#include "drawing/PageStyle.h"
#include "drawing/Twips.h"
#include "main_window/CommonDialog.h"
#include "main_window/Controls.h"
#include "main_window/ImageButton.h"
#include "main_window/InterfaceFont.h"
#include "main_window/Pause.h"
#include "main_window/PictureHolder.h"
#include "main_window/Placement.h"
#include "main_window/PressFeedback.h"
#include "preview/BmpWriter.h"
#include "preview/RenderCalendarBitmap.h"

#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

namespace {

constexpr int pageWidthTwips = 11550;
constexpr int pageHeightTwips = 16500;
const QColor captionText(64, 64, 64);

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

} // namespace

Voorbeeld::Voorbeeld(const PageContent& content, int sizeFactor, CommonDialog& dialog,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_dialog(dialog)
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

// The controls as laid out, before the load step places them.
void Voorbeeld::createControls() {
    resize(Twips::toPixels(7650), Twips::toPixels(5355));

    Pic = new PictureHolder(this);
    Pic->setObjectName(QStringLiteral("Pic"));
    placeTwips(*Pic, 300, 4080, 1305, 1665);
    Pic->hide();

    Label3 = label(this, "Label3", sizeText(2));
    Controls::setColor(*Label3, QPalette::WindowText, captionText);
    placeTwips(*Label3, 3990, 4350);
    Label3->adjustSize();

    const PageStyle style = PageStyle::bitmap(1);
    Voettekstrechts = Controls::measuringLabel(this, "Voettekstrechts", QStringLiteral("Label3"),
                                               style.footerMeasureFont);
    placeTwips(*Voettekstrechts, 3240, 3990);
    Koptekstrechts = Controls::measuringLabel(
        this, "Koptekstrechts", QStringLiteral("Koptekstrechts"), style.headerMeasureFont);
    placeTwips(*Koptekstrechts, 2490, 3840);

    Image1 = label(this, "Image1", QString());
    Image1->setAccessibleName(QStringLiteral("Voorbeeld van de kalender"));
    placeTwips(*Image1, 210, 120, 3375, 4335);

    Label2 = label(this, "Label2", QStringLiteral("Save as Bmp"));
    Controls::setColor(*Label2, QPalette::WindowText, captionText);
    placeTwips(*Label2, 4920, 1200);
    Label2->adjustSize();

    OkKnop = new ImageButton(QStringLiteral("Opslaan als BMP"), this);
    OkKnop->setObjectName(QStringLiteral("OkKnop"));
    OkKnop->setPixmap(QPixmap(QStringLiteral(":/pictures/ok.gif")));
    placeTwips(*OkKnop, 4830, 2220, 600, 450);
    ExitKnop = new ImageButton(QStringLiteral("Sluiten"), this);
    ExitKnop->setObjectName(QStringLiteral("ExitKnop"));
    ExitKnop->setPixmap(QPixmap(QStringLiteral(":/pictures/exit.gif")));
    placeTwips(*ExitKnop, 4830, 2880, 600, 450);

    // The bordered panel lies under everything, as the frame of the preview.
    Label1 = label(this, "Label1", QString());
    Label1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label1->setAutoFillBackground(true);
    placeTwips(*Label1, 90, 30, 3555, 4545);
    Label1->lower();

    connect(OkKnop, &ImageButton::clicked, this, &Voorbeeld::OkKnop_Click);
    connect(ExitKnop, &ImageButton::clicked, this, &Voorbeeld::ExitKnop_Click);
}

void Voorbeeld::load(const PageContent& content) {
    // The outer size is 6600 x 9900 twips. As on the main window, the client
    // area is that less 60 across and 345 down for the window manager's frame:
    // 6540 x 9555 (436 x 637 px), which holds the buttons (right edge 6375)
    // and the texts (bottom 9240) with a margin. The window may be resized;
    // nothing reflows.
    resize(Twips::toPixels(clientWidthTwips), Twips::toPixels(clientHeightTwips));

    placeTwips(*Label1, 120, 90, 6300, 8700);
    placeTwips(*Image1, 180, 150, 6180, 8580);
    const int width = pageWidthTwips * m_sizeFactor;
    const int height = pageHeightTwips * m_sizeFactor;
    Pic->resize(Twips::toPixels(width), Pic->height());
    Pic->resize(Pic->width(), Twips::toPixels(height));
    placeTwips(*OkKnop, ButtonRests::previewOk.top, ButtonRests::previewOk.left);
    placeTwips(*ExitKnop, ButtonRests::previewExit.top, ButtonRests::previewExit.left);
    placeTwips(*Label2, 9045, 3990);
    placeTwips(*Label3, 9045, 120);

    if (m_sizeFactor == 1 || m_sizeFactor == 2) {
        Label3->setText(sizeText(m_sizeFactor));
        Label3->adjustSize();
    }

    // The page background is the desktop's window background, never painted
    // over by the renderer.
    QImage page(Pic->size(), QImage::Format_RGB32);
    page.fill(palette().color(QPalette::Base));
    RenderCalendarBitmap(page, content, m_sizeFactor);
    Pic->setPicture(page);

    // The measuring labels keep the texts they measured last.
    Koptekstrechts->setText(content.headerRight);
    Koptekstrechts->adjustSize();
    Voettekstrechts->setText(content.footerRight);
    Voettekstrechts->adjustSize();

    // Reduced smoothly, so the preview stays readable.
    Image1->setPixmap(QPixmap::fromImage(
        page.scaled(Image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));

    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
}

void Voorbeeld::OkKnop_Click() {
    PressFeedback(*OkKnop, ButtonRests::previewOk);
    m_dialog.cancelError = true;
    m_dialog.fileName = QString();
    m_dialog.flags = CommonDialog::OverwritePrompt | CommonDialog::NoReadOnlyReturn;
    m_dialog.filter = QStringLiteral("Bitmap format (*.bmp)|*.bmp");
    if (!m_dialog.showSave(this)) {
        return; // Cancel stays silent.
    }
    QString error;
    if (!BmpWriter::write(page(), m_dialog.fileName, &error)) {
        // Silence here would let the user believe the calendar was saved.
        QMessageBox::warning(this, QStringLiteral("Ostrabel"),
                             tr("De kalender is niet opgeslagen (%1). Kies een andere map of "
                                "naam en probeer het opnieuw.")
                                 .arg(error));
    }
}

void Voorbeeld::ExitKnop_Click() {
    PressFeedback(*ExitKnop, ButtonRests::previewExit);
    Pause(0.1f);
    accept();
}
