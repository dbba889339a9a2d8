#include "printing/PrintCalendar.h"

#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageGeometry.h"
#include "drawing/PageStyle.h"
#include "printing/CopyCount.h"
#include "printing/PrintJob.h"

#include <QCoreApplication>

namespace {

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

// The photo is stretched over its area anyway, so each side is reduced on
// its own; a photo that is small enough goes as it is.
QImage printablePhoto(const QImage& photo) {
    const QSize largest = PageGeometry::photoPixels();
    const QSize size(qMin(photo.width(), largest.width()), qMin(photo.height(), largest.height()));
    if (photo.isNull() || size == photo.size()) {
        return photo;
    }
    return photo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

PrintOutcome PrintCalendar(const PageContent& content, const QString& copiesText, PrintJob* job,
                           const std::function<void()>& sweep) {
    if (job == nullptr) {
        return PrintOutcome::refused(noPrinterMessage());
    }
    job->setUpPage();
    const std::optional<qint16> copies = CopyCount::parse(copiesText);
    if (!copies) {
        return PrintOutcome::refused(CopyCount::invalidMessage());
    }
    job->setCopyCount(*copies);

    PageContent page = content;
    page.photo = printablePhoto(content.photo);

    DrawingSurface* surface = job->begin(documentName(content.year));
    if (surface == nullptr) {
        return PrintOutcome::refused(refusedMessage());
    }
    if (!PageComposer::compose(*surface, page, PageStyle::printed())) {
        job->discard();
        return PrintOutcome::refused(refusedMessage());
    }
    sweep();
    if (!job->end()) {
        return PrintOutcome::refused(refusedMessage());
    }
    return PrintOutcome::done();
}
