// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintJob.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPainter>
#include <memory>

class PrinterSurface;
class QPdfWriter;
struct PageContent;

// One page as a PDF document in memory, on an A4 sheet. The page's origin is
// the sheet's top-left corner moved in by the margins; with no margins the
// page starts at the corner itself. Text stays text, with its font embedded.
class PdfJob final : public PrintJob {
public:
    // Margins in millimetres: the part of the sheet a printer cannot reach.
    explicit PdfJob(const QMarginsF& margins = QMarginsF());
    ~PdfJob() override;

    // The calendar page printed into a PDF document on an A4 sheet without
    // margins, as a file holds it; empty when it could not be made.
    static QByteArray calendar(const PageContent& content);

    void setUpPage() override;
    void setCopyCount(int copies) override;
    DrawingSurface* begin(const QString& documentName) override;
    // Here the document is handed to nobody: it is kept in document(), which
    // holds nothing before that.
    bool end() override;
    void discard() override;

    // The finished document; empty until end() has succeeded.
    const QByteArray& document() const { return m_document; }
    const QString& documentName() const { return m_documentName; }
    int copies() const { return m_copies; }

private:
    QMarginsF m_margins;
    int m_copies = 1;
    QString m_documentName;
    QByteArray m_document;
    QByteArray m_written; // while the document is open
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    std::unique_ptr<PrinterSurface> m_surface;
};
