#pragma once

// Whether the printing system took the job just handed to it. Qt hands the
// page to CUPS when the painter ends but drops CUPS's answer, so a queue that
// refuses the job (not accepting jobs, more copies than the server allows, a
// scheduler that has gone away) would look like a printed page. CUPS keeps
// its last answer per thread; it is read back here.
class CupsAnswer {
public:
    // False when CUPS refused the last request made on this thread; true when
    // it took it, or when there is no CUPS to ask.
    static bool lastRequestTaken();
};
