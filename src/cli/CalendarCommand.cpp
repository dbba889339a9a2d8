// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalendarCommand.h"

#include "calendar/CopyCount.h"
#include "calendar/YearText.h"
#include "cli/StandardOutput.h"
#include "drawing/PageContent.h"
#include "drawing/PageGeometry.h"
#include "drawing/RenderCalendarBitmap.h"
#include "io/BmpWriter.h"
#include "io/PhotoLoader.h"
#include "io/PngWriter.h"
#include "io/SafeSave.h"
#include "messages/Messages.h"
#include "printing/CupsJob.h"
#include "printing/PdfJob.h"
#include "printing/PrintCalendar.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <memory>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("CalendarCommand", text);
}

SafeSave::Fill bytesFill(const QByteArray& bytes) {
    return [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
}

QByteArray pngBytes(const QImage& page) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return PngWriter::write(page, buffer) ? bytes : QByteArray();
}

} // namespace

ExitCode CalendarCommand::run(const CalendarRequest& request, const Complain& complain) {
    const bool standardOutput = request.output == QLatin1String("-");
    if (standardOutput && StandardOutput::isTerminal()) {
        complain(tr("De standaarduitvoer is een terminal. Stuur de kalender naar een bestand of "
                    "een ander programma, bijvoorbeeld met > kalender.png."));
        return ExitUsage;
    }
    // Before anything is read or written: the calendar must not take the
    // place of its own photo, whatever way the two names lead there.
    if (!request.photoPath.isNull() && !request.output.isEmpty() && !standardOutput &&
        SafeSave::sameFile(request.output, request.photoPath)) {
        complain(Messages::outputIsPhoto(request.output));
        return ExitUsage;
    }

    WholeNumber::Reading reading = WholeNumber::Reading::Number;
    const std::optional<qint32> year = request.yearText.isNull()
                                           ? QDate::currentDate().year()
                                           : YearText::parse(request.yearText, &reading);
    if (!year) {
        complain(Messages::yearInvalid(reading));
        return ExitFailed;
    }
    const std::optional<int> copies = CopyCount::parse(request.copiesText);
    if (!copies) {
        complain(tr("Het aantal kopieën moet een geheel getal van 1 tot en met 32767 zijn. "
                    "Geef bijvoorbeeld --kopieen 2."));
        return ExitFailed;
    }

    PageContent content;
    content.headerLeft = request.headerLeft;
    content.headerRight = request.headerRight;
    content.footerLeft = request.footerLeft;
    content.footerRight = request.footerRight;
    content.year = *year;
    content.photoFit = request.photoFit;
    if (!request.photoPath.isNull()) {
        // In the window an unreadable file keeps the previous photo; here
        // there is none to keep, and a calendar without the asked-for photo
        // is not what was asked for.
        const PhotoLoader::Result photo =
            PhotoLoader::load(request.photoPath, PageGeometry::photoPixels());
        if (photo.photo.isNull()) {
            complain(Messages::photoRefused(request.photoPath, photo));
            return ExitFailed;
        }
        if (photo.incomplete) {
            complain(tr("Waarschuwing: ") + Messages::photoIncomplete(request.photoPath));
        }
        if (!PageGeometry::printsSharply(photo.photo.size())) {
            complain(tr("Waarschuwing: ") + Messages::photoSmall(photo.photo.size()));
        }
        content.photo = photo.photo;
    }

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
            return ExitFailed;
        }
    }

    QString message;
    if (!request.output.isEmpty() && !writeOutput(request, content, &message)) {
        complain(message);
        return ExitFailed;
    }
    if (job) {
        if (PrintCalendar(content, *copies, job.get(), [] {}) != PrintOutcome::Printed) {
            complain(Messages::printRefused());
            return ExitFailed;
        }
    }
    return ExitDone;
}

bool CalendarCommand::writeOutput(const CalendarRequest& request, const PageContent& content,
                                  QString* message) {
    QImage page;
    QByteArray bytes;
    SafeSave::Fill fill = bytesFill(bytes);
    switch (request.format) {
    case CalendarRequest::Format::Bmp:
        // The same page and the same encoder as the preview window's save.
        page = RenderCalendarBitmap(content, request.sizeFactor);
        fill = [&page](QIODevice& device) { return BmpWriter::write(page, device); };
        break;
    case CalendarRequest::Format::Png:
        bytes = pngBytes(RenderCalendarBitmap(content, request.sizeFactor));
        break;
    case CalendarRequest::Format::Pdf: {
        // The printed page, as the printer would get it, on a sheet without
        // margins.
        bytes = PdfJob::calendar(content);
        break;
    }
    }
    if (page.isNull() && bytes.isEmpty()) {
        *message = tr("De kalender kon niet worden gemaakt. Probeer het opnieuw.");
        return false;
    }

    QString reason;
    if (request.output == QLatin1String("-")) {
        if (StandardOutput::write(fill, &reason)) {
            return true;
        }
        *message = tr("De kalender kon niet naar de standaarduitvoer (%1). Stuur hem naar een "
                      "bestand of een ander programma.")
                       .arg(reason);
        return false;
    }
    FileError error;
    if (SafeSave::write(request.output, fill, &error)) {
        return true;
    }
    *message = Messages::notSaved(error);
    return false;
}
