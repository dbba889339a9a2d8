#include "printing/CupsAnswer.h"

#include <QLibrary>

namespace {

// IPP status codes from 0x0400 on are client and server errors.
constexpr int firstErrorStatus = 0x0400;

using LastError = int (*)();

LastError lastErrorFunction() {
    // The library Qt's print support already has loaded; loading it again
    // only finds it.
    static const LastError function =
        reinterpret_cast<LastError>(QLibrary::resolve(QStringLiteral("cups"), 2, "cupsLastError"));
    return function;
}

} // namespace

bool CupsAnswer::lastRequestTaken() {
    const LastError lastError = lastErrorFunction();
    return lastError == nullptr || lastError() < firstErrorStatus;
}
