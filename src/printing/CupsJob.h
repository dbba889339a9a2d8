#pragma once

#include "printing/PdfJob.h"

#include <QString>
#include <memory>

// One page on a queue of the printing system (CUPS), handed over as a PDF
// document, as Qt's own print support does, but without it: that would bring
// Qt Widgets into programs that have no window. The page starts at the
// corner of the printable area the queue reports for A4; the printer makes
// the copies.
class CupsJob : public PdfJob {
public:
    // Null when there is no default printer, or no printing system to ask.
    static std::unique_ptr<CupsJob> onDefaultPrinter();
    // Null when the printing system knows no queue of that name.
    static std::unique_ptr<CupsJob> onPrinter(const QString& name);

    // Ends the document and submits it; false when the queue refused it, and
    // then no job is left behind.
    bool end() override;

    const QString& queue() const { return m_queue; }

private:
    CupsJob(const QString& queue, const QMarginsF& margins);
    static std::unique_ptr<CupsJob> find(const char* name);

    QString m_queue;
};
