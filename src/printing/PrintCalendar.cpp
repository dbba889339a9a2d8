#include "printing/PrintCalendar.h"

#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "drawing/Twips.h"
#include "main_window/LineControl.h"
#include "main_window/Main.h"
#include "printing/CopyCount.h"
#include "printing/PrintJob.h"
#include "printing/PrinterJob.h"
#include "printing/ProgressSweep.h"

#include <QComboBox>
#include <QCoreApplication>

namespace {

// The photo area of the page, in twips.
constexpr int photoWidthTwips = 9800;
constexpr int photoHeightTwips = 6600;

QString noPrinterMessage() {
    return QCoreApplication::translate("PrintCalendar",
                                       "Er is geen standaardprinter. Stel een standaardprinter "
                                       "in en probeer het opnieuw.");
}

QString refusedMessage() {
    return QCoreApplication::translate("PrintCalendar",
                                       "De printer kon de afdruk niet starten. Controleer de "
                                       "printer en probeer het opnieuw.");
}

QString documentName(qint32 year) {
    return QStringLiteral("Ostrabel kalender %1").arg(year);
}

int dotsOver(int twips) {
    return (twips * PrintedPhoto::dotsPerInch + Twips::perInch - 1) / Twips::perInch;
}

// The photo is stretched over its area anyway, so each side is reduced on
// its own; a photo that is small enough goes as it is.
QImage printablePhoto(const QImage& photo) {
    const QSize largest = PrintedPhoto::largest();
    const QSize size(qMin(photo.width(), largest.width()), qMin(photo.height(), largest.height()));
    if (photo.isNull() || size == photo.size()) {
        return photo;
    }
    return photo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QSize PrintedPhoto::largest() {
    return QSize(dotsOver(photoWidthTwips), dotsOver(photoHeightTwips));
}

PrintOutcome PrintCalendar(const PageContent& content, const QString& copiesText, PrintJob& job,
                           const std::function<void()>& sweep) {
    job.setUpPage();
    const std::optional<qint16> copies = CopyCount::parse(copiesText);
    if (!copies) {
        return PrintOutcome::refused(CopyCount::invalidMessage());
    }
    job.setCopyCount(*copies);

    PageContent page = content;
    page.photo = printablePhoto(content.photo);

    DrawingSurface* surface = job.begin(documentName(content.year));
    if (surface == nullptr) {
        return PrintOutcome::refused(refusedMessage());
    }
    if (!PageComposer::compose(*surface, page, PageStyle::printed())) {
        job.discard();
        return PrintOutcome::refused(refusedMessage());
    }
    sweep();
    if (!job.end()) {
        return PrintOutcome::refused(refusedMessage());
    }
    return PrintOutcome::done();
}

PrintOutcome PrintCalendar(const PageContent& content, const QString& copiesText,
                           LineControl& bar) {
    const std::unique_ptr<PrinterJob> job = PrinterJob::onDefaultPrinter();
    if (!job) {
        return PrintOutcome::refused(noPrinterMessage());
    }
    return PrintCalendar(content, copiesText, *job, [&bar] { ProgressSweep(bar); });
}

PrintOutcome PrintCalendar(qint32 year, Main& main) {
    return PrintCalendar(main.pageContent(year), main.CopyCombo->currentText(), *main.Bar);
}
