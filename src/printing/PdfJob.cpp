// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PdfJob.h"

#include "printing/PrintCalendar.h"
#include "printing/PrinterSurface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

PdfJob::PdfJob(const QMarginsF& margins)
    : m_margins(margins) {
}

PdfJob::~PdfJob() {
    discard();
}

QByteArray PdfJob::calendar(const PageContent& content) {
    PdfJob pdf;
    return PrintCalendar(content, 1, &pdf, [] {}) == PrintOutcome::Printed ? pdf.document()
                                                                           : QByteArray();
}

void PdfJob::setUpPage() {
    // Portrait, as on the printer; the layout itself is set when the document
    // opens, since the writer only exists from then on.
}

void PdfJob::setCopyCount(int copies) {
    m_copies = copies;
}

DrawingSurface* PdfJob::begin(const QString& documentName) {
    discard();
    m_documentName = documentName;
    m_buffer.setBuffer(&m_written);
    if (!m_buffer.open(QIODevice::WriteOnly)) {
        return nullptr;
    }
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setTitle(documentName);
    m_writer->setCreator(QStringLiteral("Ostrabel"));
    if (!m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             m_margins, QPageLayout::Millimeter)) ||
        !m_painter.begin(m_writer.get())) {
        discard();
        return nullptr;
    }
    m_surface = std::make_unique<PrinterSurface>(m_painter, *m_writer);
    return m_surface.get();
}

bool PdfJob::end() {
    m_surface.reset();
    if (!m_painter.isActive()) {
        return false; // nothing begun, or discarded
    }
    const bool ended = m_painter.end();
    m_writer.reset();
    m_buffer.close();
    if (ended) {
        m_document.swap(m_written);
    }
    m_written.clear();
    return !m_document.isEmpty();
}

void PdfJob::discard() {
    m_surface.reset();
    if (m_painter.isActive()) {
        m_painter.end();
    }
    m_writer.reset();
    m_buffer.close();
    m_written.clear();
    m_document.clear();
}
