#pragma once

#include "printing/PrintJob.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPainter>
#include <memory>

class QPdfWriter;
struct PageContent;
class PrinterSurface;

// One page as a PDF document in memory, on an A4 sheet. The page's origin is
// the sheet's top-left corner moved in by the margins; with no margins the
// page starts at the corner itself. Text stays text, with its font embedded.
class PdfJob : public PrintJob {
public:
    // Margins in millimetres: the part of the sheet a printer cannot reach.
    explicit PdfJob(const QMarginsF& margins = QMarginsF());
    ~PdfJob() override;

    void setUpPage() override;
    void setCopyCount(qint16 copies) override;
    DrawingSurface* begin(const QString& documentName) override;
    bool end() override;
    void discard() override;

    // The calendar page printed into a PDF document on an A4 sheet without
    // margins, as a file holds it; empty when it could not be made.
    static QByteArray calendar(const PageContent& content);

    // The finished document; empty until end() has succeeded.
    const QByteArray& document() const { return m_document; }
    const QString& documentName() const { return m_documentName; }
    qint16 copies() const { return m_copies; }

private:
    QMarginsF m_margins;
    qint16 m_copies = 1;
    QString m_documentName;
    QByteArray m_document;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    std::unique_ptr<PrinterSurface> m_surface;
};
