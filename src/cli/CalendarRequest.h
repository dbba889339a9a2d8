// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/DayNames.h"
#include "drawing/PhotoPlacement.h"

#include <QString>

class OutputFormat;

// What one run of ostrabel-cli is asked to make, as typed: the numbers are
// read later by the same rules as in the window.
struct CalendarRequest {
    QString yearText;  // null: the current year
    QString photoPath; // null: no photo; anything else must be a readable photo
    PhotoFit photoFit = PhotoFit::Stretch;
    QRectF photoCrop = PhotoPlacement::wholePhoto;
    WeekStart weekStart = WeekStart::Sunday;
    bool weekNumbers = false;
    bool holidays = false;
    QString headerLeft;
    QString headerRight;
    QString footerLeft;
    QString footerRight;
    int sizeFactor = 1;
    QString output;                       // empty: no file; "-": standard output
    const OutputFormat* format = nullptr; // with an output
    bool print = false;
    QString printer;                          // null: the default printer
    QString copiesText = QStringLiteral("1"); // read by the command, once
};

// The program's exit codes.
enum ExitCode { ExitDone = 0, ExitFailed = 1, ExitUsage = 2 };
