#pragma once

#include "printing/PrintOutcome.h"

#include <QString>
#include <functional>

class PrintJob;
struct PageContent;

// The calendar page on a printer, without a printer dialog, in this order:
// page set-up, copies, the page, the sweep that shows it is being printed,
// end of document. No job (no printer to print on), a copy count that is not
// a whole number from 1 to 32767, or a failure up to the header line sends
// nothing and comes back as a message; once the page is drawn it is always
// handed to the printer, and a printer that refuses the finished job is
// reported the same way.
PrintOutcome PrintCalendar(const PageContent& content, const QString& copiesText, PrintJob* job,
                           const std::function<void()>& sweep);
