// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CupsLibrary.h"

#include <QLibrary>

namespace {

template <typename Function>
bool resolve(QLibrary& library, const char* symbol, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(symbol));
    return function != nullptr;
}

} // namespace

const CupsLibrary& CupsLibrary::get() {
    static const CupsLibrary library = [] {
        CupsLibrary c;
        // The library Qt's print support may have loaded already; loading it
        // again only finds it.
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
                   resolve(so, "cupsCancelJob2", c.cancelJob) &&
                   resolve(so, "cupsLastError", c.lastError);
        return c;
    }();
    return library;
}

bool CupsLibrary::lastRequestTaken() {
    const CupsLibrary& cups = get();
    return cups.lastError == nullptr || cups.lastError() < firstErrorStatus;
}
