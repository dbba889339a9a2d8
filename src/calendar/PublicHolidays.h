// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <array>

// The Dutch public holidays of one year, built once per page and asked for
// each day cell: New Year, Easter, King's or Queen's Day, Liberation Day in
// the years it is a day off, Ascension, Whitsun and Christmas. Weekdays come
// from CalendarYear, so any 32-bit year gets the days its page shows.
class PublicHolidays {
public:
    struct MonthDay {
        int month; // 1..12
        int day;   // 1..31
    };

    explicit PublicHolidays(qint32 year);

    // False for any day outside 1..12 and 1..31.
    bool contains(int month, int day) const;

    // Easter Sunday in the proleptic Gregorian calendar, for any 32-bit year.
    static MonthDay easter(qint32 year);

private:
    std::array<quint32, 12> m_days{}; // bit d set: day d of the month is a holiday
};
