// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintCalendar.h"

#include "calendar/CopyCount.h"
#include "drawing/PageComposer.h"
#include "drawing/PageContent.h"
#include "drawing/PageStyle.h"
#include "printing/PrintJob.h"

#include <algorithm>

namespace {

QString documentName(qint32 year) {
    return QStringLiteral("Ostrabel kalender %1").arg(year);
}

} // namespace

PrintOutcome PrintCalendar(const PageContent& content, int copies, PrintJob* job,
                           const std::function<void()>& sweep) {
    if (job == nullptr) {
        return PrintOutcome::NoPrinter;
    }
    job->setUpPage();
    job->setCopyCount(std::clamp(copies, 1, CopyCount::most));

    DrawingSurface* surface = job->begin(documentName(content.year));
    if (surface == nullptr) {
        return PrintOutcome::Refused;
    }
    if (!PageComposer::compose(*surface, content, PageStyle::printed())) {
        job->discard();
        return PrintOutcome::Refused;
    }
    sweep();
    return job->end() ? PrintOutcome::Printed : PrintOutcome::Refused;
}
