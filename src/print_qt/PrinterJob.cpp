// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_qt/PrinterJob.h"

#include "printing/CupsLibrary.h"
#include "printing/PrinterSurface.h"

#include <QPageSize>
#include <QPrinterInfo>

std::unique_ptr<PrinterJob> PrinterJob::onDefaultPrinter() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        return nullptr;
    }
    std::unique_ptr<PrinterJob> job(new PrinterJob(printer));
    // A QPrinter quietly falls back to another queue or a PDF file when the
    // named one is unusable; only the default printer itself will do.
    if (!job->m_printer.isValid() || job->m_printer.printerName() != printer.printerName() ||
        job->m_printer.outputFormat() != QPrinter::NativeFormat) {
        return nullptr;
    }
    return job;
}

std::unique_ptr<PrinterJob> PrinterJob::toFile(const QString& path) {
    std::unique_ptr<PrinterJob> job(new PrinterJob());
    job->m_printer.setOutputFormat(QPrinter::PdfFormat);
    job->m_printer.setOutputFileName(path);
    return job;
}

PrinterJob::PrinterJob(const QPrinterInfo& printer)
    : m_printer(printer, QPrinter::HighResolution) {
    m_printer.setPrinterName(printer.printerName());
    m_printer.setFullPage(false);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
}

PrinterJob::PrinterJob()
    : m_printer(QPrinter::HighResolution) {
    m_printer.setFullPage(false);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
}

PrinterJob::~PrinterJob() {
    discard();
}

void PrinterJob::setUpPage() {
    m_printer.setPageOrientation(QPageLayout::Portrait);
}

void PrinterJob::setCopyCount(int copies) {
    m_printer.setCopyCount(copies);
}

DrawingSurface* PrinterJob::begin(const QString& documentName) {
    m_printer.setDocName(documentName);
    if (!m_painter.begin(&m_printer)) {
        return nullptr;
    }
    m_surface = std::make_unique<PrinterSurface>(m_painter, m_printer);
    return m_surface.get();
}

bool PrinterJob::end() {
    m_surface.reset();
    if (!m_painter.isActive()) {
        return false; // nothing begun, or discarded
    }
    // Ending the painter hands the page to CUPS, and only CUPS knows whether
    // the queue took it.
    return m_painter.end() &&
           (m_printer.outputFormat() != QPrinter::NativeFormat || CupsLibrary::lastRequestTaken());
}

void PrinterJob::discard() {
    m_surface.reset();
    // Qt's print support cannot drop a begun document: ending the painter is
    // the only way to let go of it, and that sends what was drawn (see the
    // job contract).
    m_printer.abort();
    if (m_painter.isActive()) {
        m_painter.end();
    }
}
