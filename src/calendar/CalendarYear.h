// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <array>

// The calendar facts for one page, built afresh for every composition.
// Years in the year table take its row; any other year gets the weekday of
// 1 January and the length of February from the (proleptic) Gregorian
// calendar, so a typed year outside the list still shows its real calendar.
// Years before 1 count astronomically: 0 is 1 BC, -1 is 2 BC.
class CalendarYear {
public:
    explicit CalendarYear(qint32 year);

    // month: 1..12
    int days(int month) const;
    // Weekday (0 = Sunday) of the first day of the month, carried forward
    // from 1 January month by month: previous start + previous length, mod 7.
    int firstWeekday(int month) const;

    static int gregorianJanuaryFirstWeekday(qint32 year);
    static bool isGregorianLeapYear(qint32 year);

private:
    int m_januaryFirstWeekday;
    std::array<int, 12> m_days;
};
