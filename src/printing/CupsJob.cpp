// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CupsJob.h"

#include "printing/CupsLibrary.h"

namespace {

// The margins of A4 on this queue, in millimetres; none when it does not say.
QMarginsF a4Margins(const CupsLibrary& cups, CupsLibrary::Dest* dest) {
    QMarginsF margins;
    if (void* info = cups.copyDestInfo(nullptr, dest)) {
        CupsLibrary::Size size{};
        if (cups.getDestMediaByName(nullptr, dest, info, "iso_a4_210x297mm", 0, &size)) {
            margins = QMarginsF(size.left, size.top, size.right, size.bottom) / 100.0;
        }
        cups.freeDestInfo(info);
    }
    return margins;
}

} // namespace

CupsJob::CupsJob(const QString& queue, const QMarginsF& margins, Submit submit)
    : m_queue(queue)
    , m_pdf(margins)
    , m_submit(std::move(submit)) {
}

std::unique_ptr<CupsJob> CupsJob::onDefaultPrinter() {
    return find(nullptr);
}

std::unique_ptr<CupsJob> CupsJob::onPrinter(const QString& name) {
    return name.isEmpty() ? nullptr : find(name.toUtf8().constData());
}

std::unique_ptr<CupsJob> CupsJob::find(const char* name) {
    const CupsLibrary& cups = CupsLibrary::get();
    if (!cups.usable) {
        return nullptr;
    }
    CupsLibrary::Dest* dest = cups.getNamedDest(nullptr, name, nullptr);
    if (dest == nullptr) {
        return nullptr;
    }
    auto job = std::make_unique<CupsJob>(QString::fromUtf8(dest->name), a4Margins(cups, dest),
                                         &CupsJob::submitToCups);
    cups.freeDests(1, dest);
    return job;
}

void CupsJob::setUpPage() {
    m_pdf.setUpPage();
}

void CupsJob::setCopyCount(int copies) {
    m_pdf.setCopyCount(copies);
}

DrawingSurface* CupsJob::begin(const QString& documentName) {
    return m_pdf.begin(documentName);
}

bool CupsJob::end() {
    return m_pdf.end() && m_submit(m_queue, m_pdf.document(), m_pdf.documentName(), m_pdf.copies());
}

void CupsJob::discard() {
    m_pdf.discard();
}

bool CupsJob::submitToCups(const QString& queue, const QByteArray& pdf, const QString& title,
                           int copies) {
    const CupsLibrary& cups = CupsLibrary::get();
    const QByteArray name = queue.toUtf8();
    const QByteArray titleBytes = title.toUtf8();
    CupsLibrary::Option* options = nullptr;
    int optionCount = cups.addOption("copies", QByteArray::number(copies).constData(), 0, &options);
    // The document is A4; without this the queue's own paper size would be
    // used, and the page scaled onto it.
    optionCount = cups.addOption("media", "A4", optionCount, &options);
    const int id =
        cups.createJob(nullptr, name.constData(), titleBytes.constData(), optionCount, options);
    cups.freeOptions(optionCount, options);
    if (id == 0) {
        return false;
    }
    bool taken = cups.startDocument(nullptr, name.constData(), id, titleBytes.constData(),
                                    "application/pdf", 1) == CupsLibrary::httpContinue;
    if (taken) {
        taken = cups.writeRequestData(nullptr, pdf.constData(), size_t(pdf.size())) ==
                CupsLibrary::httpContinue;
        // Always read the answer, so the connection is ready for the next request.
        const int status = cups.finishDocument(nullptr, name.constData());
        taken = taken && status >= 0 && status < CupsLibrary::firstErrorStatus;
    }
    if (!taken) {
        // A job that was created but got no complete document would wait in
        // the queue for ever.
        cups.cancelJob(nullptr, name.constData(), id, 1);
    }
    return taken;
}
