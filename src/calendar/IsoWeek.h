// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// ISO 8601 week numbers for the page's rows, in the proleptic Gregorian
// calendar that CalendarYear follows outside its table.
class IsoWeek {
public:
    // The week (1..53) of a day. The day may lie outside its month: 0 is the
    // last day of the month before, 33 a day in a later month, even in another
    // year, as a grid row's Monday can be. Any 32-bit year and any day.
    static int of(qint32 year, int month, int day);
};
