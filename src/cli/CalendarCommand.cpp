// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalendarCommand.h"

#include "calendar/CopyCount.h"
#include "calendar/YearText.h"
#include "cli/StandardOutput.h"
#include "drawing/PageContent.h"
#include "drawing/PageGeometry.h"
#include "messages/Messages.h"
#include "output/OutputFormat.h"
#include "output/SafeSave.h"
#include "photo/PhotoLoader.h"
#include "printing/CupsJob.h"
#include "printing/PrintCalendar.h"

#include <QCoreApplication>
#include <QDate>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("CalendarCommand", text);
}

bool toStandardOutput(const CalendarRequest& request) {
    return request.output == QLatin1String("-");
}

} // namespace

ExitCode CalendarCommand::run(const CalendarRequest& request, const Complain& complain) {
    if (toStandardOutput(request) && StandardOutput::isTerminal()) {
        complain(tr("De standaarduitvoer is een terminal. Stuur de kalender naar een bestand of "
                    "een ander programma, bijvoorbeeld met > kalender.png."));
        return ExitUsage;
    }
    // Before anything is read or written: the calendar must not take the
    // place of its own photo, whatever way the two names lead there, nor be
    // added to its end through standard output.
    if (!request.photoPath.isNull() && !request.output.isEmpty() &&
        (toStandardOutput(request) ? StandardOutput::isFile(request.photoPath)
                                   : SafeSave::sameFile(request.output, request.photoPath))) {
        complain(Messages::outputIsPhoto(toStandardOutput(request) ? request.photoPath
                                                                   : request.output));
        return ExitUsage;
    }
    PageContent content;
    int copies = 1;
    if (!readPage(request, complain, &content, &copies)) {
        return ExitFailed;
    }
    return deliver(request, content, copies, complain) ? ExitDone : ExitFailed;
}

bool CalendarCommand::readPage(const CalendarRequest& request, const Complain& complain,
                               PageContent* content, int* copies) {
    WholeNumber::Reading reading = WholeNumber::Reading::Number;
    const std::optional<qint32> year = request.yearText.isNull()
                                           ? QDate::currentDate().year()
                                           : YearText::parse(request.yearText, &reading);
    if (!year) {
        complain(Messages::yearInvalid(reading));
        return false;
    }
    const std::optional<int> count = CopyCount::parse(request.copiesText);
    if (!count) {
        complain(tr("Het aantal kopieën moet een geheel getal van 1 tot en met %1 zijn. "
                    "Geef bijvoorbeeld --kopieen 2.")
                     .arg(CopyCount::most));
        return false;
    }
    *copies = *count;
    content->headerLeft = request.headerLeft;
    content->headerRight = request.headerRight;
    content->footerLeft = request.footerLeft;
    content->footerRight = request.footerRight;
    content->year = *year;
    content->photoFit = request.photoFit;
    content->photoCrop = request.photoCrop;
    content->weekStart = request.weekStart;
    content->weekNumbers = request.weekNumbers;
    content->holidays = request.holidays;
    if (request.photoPath.isNull()) {
        return true;
    }
    // In the window an unreadable file keeps the previous photo; here there
    // is none to keep, and a calendar without the asked-for photo is not what
    // was asked for.
    const PhotoLoader::Result photo =
        PhotoLoader::load(request.photoPath, PageGeometry::photoPixels());
    if (photo.photo.isNull()) {
        complain(Messages::photoRefused(request.photoPath, photo));
        return false;
    }
    if (photo.incomplete) {
        complain(tr("Waarschuwing: ") + Messages::photoIncomplete(request.photoPath));
    }
    // The photo as it is, not as far as it was decoded for this output.
    if (!PageGeometry::printsSharply(photo.size)) {
        complain(tr("Waarschuwing: ") + Messages::photoSmall(photo.size));
    }
    content->photo = photo.photo;
    return true;
}

bool CalendarCommand::deliver(const CalendarRequest& request, const PageContent& content,
                              int copies, const Complain& complain) {
    // The printer is found before anything is written, so a missing one
    // leaves no file behind either.
    std::unique_ptr<CupsJob> job;
    if (request.print) {
        job = request.printer.isNull() ? CupsJob::onDefaultPrinter()
                                       : CupsJob::onPrinter(request.printer);
        if (!job) {
            complain(request.printer.isNull()
                         ? tr("Er is geen standaardprinter. Stel er een in of kies een printer "
                              "met --printer.")
                         : tr("Printer '%1' is niet gevonden. Kies een printer die lpstat -e "
                              "noemt.")
                               .arg(request.printer));
            return false;
        }
    }
    if (!request.output.isEmpty() && !writeOutput(request, content, complain)) {
        return false;
    }
    if (job && PrintCalendar(content, copies, job.get(), [] {}) != PrintOutcome::Printed) {
        complain(Messages::printRefused());
        return false;
    }
    return true;
}

bool CalendarCommand::writeOutput(const CalendarRequest& request, const PageContent& content,
                                  const Complain& complain) {
    // The same page and the same encoders as the preview window's save.
    const OutputFormat::Page page{content, request.sizeFactor, {}};
    const OutputFormat& format = *request.format;
    if (toStandardOutput(request)) {
        QString reason;
        if (StandardOutput::write([&](QIODevice& device) { return format.write(page, device); },
                                  &reason)) {
            return true;
        }
        complain(tr("De kalender kon niet naar de standaarduitvoer (%1). Stuur hem naar een "
                    "bestand of een ander programma.")
                     .arg(reason));
        return false;
    }
    FileError error;
    if (format.save(page, request.output, &error)) {
        return true;
    }
    complain(Messages::notSaved(error));
    return false;
}
