#pragma once

#include "printing/PrintOutcome.h"

#include <QSize>
#include <QString>
#include <QtGlobal>
#include <functional>

class LineControl;
class Main;
class PrintJob;
struct PageContent;

// The calendar page on the system's default printer, without a printer
// dialog: the year from the caller, everything else as the main window shows
// it now. The progress line sweeps down the miniature page before the page is
// sent.
PrintOutcome PrintCalendar(qint32 year, Main& main);

// The same from plain values: the page, the text of the copies box and the bar
// to sweep.
PrintOutcome PrintCalendar(const PageContent& content, const QString& copiesText, LineControl& bar);

// The page on the given job, in this order: page set-up, copies, the page,
// the sweep, end of document. Up to the header line a failure sends nothing
// and comes back as a message; once the page is drawn it is always handed to
// the printer, and a printer that refuses the finished job is reported the
// same way.
PrintOutcome PrintCalendar(const PageContent& content, const QString& copiesText, PrintJob& job,
                           const std::function<void()>& sweep);

namespace PrintedPhoto {
// The photo goes to the printer at no more than 600 dots per inch over its
// 9800 x 6600 twip area: more only makes the job bigger, not the paper better.
inline constexpr int dotsPerInch = 600;
QSize largest();
} // namespace PrintedPhoto
