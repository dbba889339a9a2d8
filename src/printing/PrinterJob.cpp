#include "printing/PrinterJob.h"

#include "printing/CupsAnswer.h"
#include "printing/PrinterSurface.h"

#include <QPageSize>
#include <QPrinterInfo>

std::unique_ptr<PrinterJob> PrinterJob::onDefaultPrinter() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        return nullptr;
    }
    auto job = std::make_unique<PrinterJob>(printer);
    // A QPrinter quietly falls back to another queue or a PDF file when the
    // named one is unusable; only the default printer itself will do.
    if (!job->m_printer.isValid() || job->m_printer.printerName() != printer.printerName() ||
        job->m_printer.outputFormat() != QPrinter::NativeFormat) {
        return nullptr;
    }
    return job;
}

PrinterJob::PrinterJob(const QPrinterInfo& printer)
    : m_printer(printer, QPrinter::HighResolution) {
    m_printer.setPrinterName(printer.printerName());
    m_printer.setFullPage(false);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
}

PrinterJob::~PrinterJob() {
    end();
}

void PrinterJob::setUpPage() {
    m_printer.setPageOrientation(QPageLayout::Portrait);
}

void PrinterJob::setCopyCount(qint16 copies) {
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
        return true;
    }
    return m_painter.end() && CupsAnswer::lastRequestTaken();
}

void PrinterJob::discard() {
    m_surface.reset();
    // Qt's CUPS support cannot drop a begun document: ending the painter is
    // the only way to let go of it, and that sends what was drawn. But the
    // page only fails before the photo when the painter has already stopped,
    // and then there is nothing to send.
    m_printer.abort();
    if (m_painter.isActive()) {
        m_painter.end();
    }
}
