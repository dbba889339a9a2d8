#include "printing/CupsJob.h"

#include <QLibrary>

namespace {

// The parts of the CUPS 2 library used here, laid out as its stable ABI has
// them. Resolved at run time, as the library Qt's platform support already
// loads, so building needs no CUPS headers and a machine without a printing
// system still makes files.
struct CupsDest {
    char* name;
    char* instance;
    int isDefault;
    int optionCount;
    void* options;
};

struct CupsSize {
    char media[128];
    int width, length, bottom, left, right, top; // hundredths of a millimetre
};

struct CupsOption;

constexpr int httpContinue = 100;
constexpr int firstErrorStatus = 0x0400;

struct Cups {
    CupsDest* (*getNamedDest)(void*, const char*, const char*) = nullptr;
    void (*freeDests)(int, CupsDest*) = nullptr;
    void* (*copyDestInfo)(void*, CupsDest*) = nullptr;
    int (*getDestMediaByName)(void*, CupsDest*, void*, const char*, unsigned, CupsSize*) = nullptr;
    void (*freeDestInfo)(void*) = nullptr;
    int (*addOption)(const char*, const char*, int, CupsOption**) = nullptr;
    void (*freeOptions)(int, CupsOption*) = nullptr;
    int (*createJob)(void*, const char*, const char*, int, CupsOption*) = nullptr;
    int (*startDocument)(void*, const char*, int, const char*, const char*, int) = nullptr;
    int (*writeRequestData)(void*, const char*, size_t) = nullptr;
    int (*finishDocument)(void*, const char*) = nullptr;
    int (*cancelJob)(void*, const char*, int, int) = nullptr;
    bool usable = false;
};

template <typename Function>
bool resolve(QLibrary& library, const char* symbol, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(symbol));
    return function != nullptr;
}

const Cups& cups() {
    static const Cups library = [] {
        Cups c;
        QLibrary so(QStringLiteral("cups"), 2);
        c.usable = resolve(so, "cupsGetNamedDest", c.getNamedDest) &&
                   resolve(so, "cupsFreeDests", c.freeDests) &&
                   resolve(so, "cupsCopyDestInfo", c.copyDestInfo) &&
                   resolve(so, "cupsGetDestMediaByName", c.getDestMediaByName) &&
                   resolve(so, "cupsFreeDestInfo", c.freeDestInfo) &&
                   resolve(so, "cupsAddOption", c.addOption) &&
                   resolve(so, "cupsFreeOptions", c.freeOptions) &&
                   resolve(so, "cupsCreateJob", c.createJob) &&
                   resolve(so, "cupsStartDocument", c.startDocument) &&
                   resolve(so, "cupsWriteRequestData", c.writeRequestData) &&
                   resolve(so, "cupsFinishDocument", c.finishDocument) &&
                   resolve(so, "cupsCancelJob2", c.cancelJob);
        return c;
    }();
    return library;
}

// The margins of A4 on this queue, in millimetres; none when it does not say.
QMarginsF a4Margins(const Cups& c, CupsDest* dest) {
    QMarginsF margins;
    if (void* info = c.copyDestInfo(nullptr, dest)) {
        CupsSize size{};
        if (c.getDestMediaByName(nullptr, dest, info, "iso_a4_210x297mm", 0, &size)) {
            margins = QMarginsF(size.left, size.top, size.right, size.bottom) / 100.0;
        }
        c.freeDestInfo(info);
    }
    return margins;
}

} // namespace

CupsJob::CupsJob(const QString& queue, const QMarginsF& margins)
    : PdfJob(margins)
    , m_queue(queue) {
}

std::unique_ptr<CupsJob> CupsJob::onDefaultPrinter() {
    return find(nullptr);
}

std::unique_ptr<CupsJob> CupsJob::onPrinter(const QString& name) {
    return name.isEmpty() ? nullptr : find(name.toUtf8().constData());
}

std::unique_ptr<CupsJob> CupsJob::find(const char* name) {
    const Cups& c = cups();
    if (!c.usable) {
        return nullptr;
    }
    CupsDest* dest = c.getNamedDest(nullptr, name, nullptr);
    if (dest == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CupsJob> job(new CupsJob(QString::fromUtf8(dest->name), a4Margins(c, dest)));
    c.freeDests(1, dest);
    return job;
}

bool CupsJob::end() {
    if (!PdfJob::end()) {
        return false;
    }
    const Cups& c = cups();
    const QByteArray queue = m_queue.toUtf8();
    const QByteArray title = documentName().toUtf8();
    CupsOption* options = nullptr;
    int optionCount = c.addOption("copies", QByteArray::number(copies()).constData(), 0, &options);
    // The document is A4; without this the queue's own paper size would be
    // used, and the page scaled onto it.
    optionCount = c.addOption("media", "A4", optionCount, &options);
    const int id = c.createJob(nullptr, queue.constData(), title.constData(), optionCount, options);
    c.freeOptions(optionCount, options);
    if (id == 0) {
        return false;
    }
    const QByteArray& pdf = document();
    bool taken = c.startDocument(nullptr, queue.constData(), id, title.constData(),
                                 "application/pdf", 1) == httpContinue;
    if (taken) {
        taken = c.writeRequestData(nullptr, pdf.constData(), size_t(pdf.size())) == httpContinue;
        // Always read the answer, so the connection is ready for the next request.
        const int status = c.finishDocument(nullptr, queue.constData());
        taken = taken && status >= 0 && status < firstErrorStatus;
    }
    if (!taken) {
        // A job that was created but got no complete document would wait in
        // the queue for ever.
        c.cancelJob(nullptr, queue.constData(), id, 1);
    }
    return taken;
}
