// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PdfJob.h"

#include <QString>
#include <functional>
#include <memory>

// One page on a queue of the printing system (CUPS), drawn into a PDF
// document and handed over as one, as Qt's own print support does, but
// without it: that would bring Qt Widgets into programs that have no window.
// The page starts at the corner of the printable area the queue reports for
// A4; the printer makes the copies.
class CupsJob final : public PrintJob {
public:
    // Hands a finished document to the queue with its title and copies; true
    // when the queue took it. The printing system's own by default.
    using Submit = std::function<bool(const QString& queue, const QByteArray& pdf,
                                      const QString& title, int copies)>;

    // Null when there is no default printer, or no printing system to ask.
    static std::unique_ptr<CupsJob> onDefaultPrinter();
    // Null when the printing system knows no queue of that name.
    static std::unique_ptr<CupsJob> onPrinter(const QString& name);

    CupsJob(const QString& queue, const QMarginsF& margins, Submit submit);

    void setUpPage() override;
    void setCopyCount(int copies) override;
    DrawingSurface* begin(const QString& documentName) override;
    // Submits the document; when the queue refuses it, no job is left behind.
    bool end() override;
    void discard() override;

private:
    static std::unique_ptr<CupsJob> find(const char* name);
    static bool submitToCups(const QString& queue, const QByteArray& pdf, const QString& title,
                             int copies);

    QString m_queue;
    PdfJob m_pdf;
    Submit m_submit;
};
