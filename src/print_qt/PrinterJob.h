// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintJob.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

class QPrinterInfo;
class PrinterSurface;

// One page on a real printer, through Qt's print support. A4, laid out from
// the printable area (not the sheet's edge).
class PrinterJob final : public PrintJob {
public:
    // A job on the system's default printer; null when there is none, which
    // is also what a printing system that is not running looks like. There is
    // deliberately no fallback to another queue or to a file.
    static std::unique_ptr<PrinterJob> onDefaultPrinter();
    // The same road into a PDF file instead of a printer.
    static std::unique_ptr<PrinterJob> toFile(const QString& path);

    ~PrinterJob() override;

    void setUpPage() override;
    void setCopyCount(int copies) override;
    DrawingSurface* begin(const QString& documentName) override;
    bool end() override;
    void discard() override;

private:
    explicit PrinterJob(const QPrinterInfo& printer);
    PrinterJob();

    QPrinter m_printer;
    QPainter m_painter;
    std::unique_ptr<PrinterSurface> m_surface;
};
