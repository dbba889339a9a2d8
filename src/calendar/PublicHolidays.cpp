// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/PublicHolidays.h"

#include "calendar/CalendarYear.h"

namespace {

// Gregorian Easter repeats every 5,700,000 years. Bringing the year into one
// non-negative cycle first keeps every 32-bit year free of overflow and lets
// C++'s truncating division stand for the floor division the method needs.
constexpr qint64 easterCycle = 5700000;

} // namespace

PublicHolidays::PublicHolidays(qint32 year) {
    const CalendarYear calendar(year);
    const auto isSunday = [&](int month, int day) {
        return (calendar.firstWeekday(month) + day - 1) % 7 == 0;
    };
    // A day moved by at most one back stays in its month; Easter + 50 and a
    // Monday after 30 April or 31 August run into a later one.
    const auto add = [&](MonthDay date, int daysLater) {
        int month = date.month;
        int day = date.day + daysLater;
        for (; day > calendar.days(month); ++month)
            day -= calendar.days(month);
        m_days[month - 1] |= 1u << day;
    };

    add({1, 1}, 0);
    for (const int daysLater : {0, 1, 39, 49, 50}) // Easter, Ascension, Whitsun
        add(easter(year), daysLater);
    add({12, 25}, 0);
    add({12, 26}, 0);
    if (year >= 1945 && year % 5 == 0) // a day off only in the lustrum years
        add({5, 5}, 0);
    if (year >= 2014) {
        add({4, 27}, isSunday(4, 27) ? -1 : 0);
    } else if (year >= 1891) {
        const MonthDay queensDay = year <= 1948 ? MonthDay{8, 31} : MonthDay{4, 30};
        const int sundayMove = year < 1980 ? 1 : -1;
        add(queensDay, isSunday(queensDay.month, queensDay.day) ? sundayMove : 0);
    }
}

bool PublicHolidays::contains(int month, int day) const {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && (m_days[month - 1] >> day & 1u);
}

PublicHolidays::MonthDay PublicHolidays::easter(qint32 year) {
    const int y = int((year % easterCycle + easterCycle) % easterCycle);
    // The anonymous Gregorian algorithm (Meeus, Jones, Butcher).
    const int a = y % 19, b = y / 100, c = y % 100;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - b / 4 - g + 15) % 30;
    const int l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - c % 4) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int n = h + l - 7 * m + 114;
    return {n / 31, n % 31 + 1};
}
