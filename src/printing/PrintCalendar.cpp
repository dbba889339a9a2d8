// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintCalendar.h"

#include "calendar/CopyCount.h"
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageGeometry.h"
#include "drawing/PageStyle.h"
#include "printing/PrintJob.h"

#include <algorithm>

namespace {

QString documentName(qint32 year) {
    return QStringLiteral("Ostrabel kalender %1").arg(year);
}

// No more photo pixels than 300 dots per inch of the frame: more make the
// print no better, only the job bigger. A stretched photo is reduced side by
// side; a cropped one is cut to the frame's shape first and then stretched;
// a fitted one keeps its shape.
PageContent printable(const PageContent& content) {
    PageContent page = content;
    const QSize largest = PageGeometry::photoPixels();
    if (page.photoFit == PhotoFit::Crop) {
        page.photo = page.photo.copy(
            PhotoPlacement::of(page.photo.size(), QRectF(PageGeometry::photoArea), PhotoFit::Crop)
                .source);
        page.photoFit = PhotoFit::Stretch;
    }
    QSize size = page.photo.size().boundedTo(largest);
    if (page.photoFit == PhotoFit::Fit)
        size = page.photo.size().scaled(size, Qt::KeepAspectRatio);
    if (!page.photo.isNull() && size != page.photo.size())
        page.photo = page.photo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return page;
}

} // namespace

PrintOutcome PrintCalendar(const PageContent& content, int copies, PrintJob* job,
                           const std::function<void()>& sweep) {
    if (job == nullptr) {
        return PrintOutcome::NoPrinter;
    }
    job->setUpPage();
    job->setCopyCount(std::clamp(copies, 1, CopyCount::most));

    const PageContent page = printable(content);
    DrawingSurface* surface = job->begin(documentName(content.year));
    if (surface == nullptr) {
        return PrintOutcome::Refused;
    }
    if (!PageComposer::compose(*surface, page, PageStyle::printed())) {
        job->discard();
        return PrintOutcome::Refused;
    }
    sweep();
    return job->end() ? PrintOutcome::Printed : PrintOutcome::Refused;
}
