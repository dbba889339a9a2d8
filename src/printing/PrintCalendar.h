// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintOutcome.h"

#include <functional>

class PrintJob;
struct PageContent;

// The calendar page on a printer, without a printer dialog, in this order:
// page set-up, copies (1 to 32767, read by the caller), the page, the sweep
// that shows it is being printed, end of document. No job, or a failure up
// to the header line, sends nothing; once the page is drawn it is always
// handed to the printer, and a printer that refuses it is told the same way.
PrintOutcome PrintCalendar(const PageContent& content, int copies, PrintJob* job,
                           const std::function<void()>& sweep);
