// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/CalendarYear.h"

#include "calendar/MonthTable.h"
#include "calendar/YearTable.h"

namespace {

// The Gregorian calendar repeats every 400 years (146097 days, exactly
// 20871 weeks), so reducing the year into 0..399 first keeps every 32-bit
// year, negative ones included, free of overflow.
int yearInCycle(qint32 year) {
    const int r = static_cast<int>(static_cast<qint64>(year) % 400);
    return r < 0 ? r + 400 : r;
}

} // namespace

CalendarYear::CalendarYear(qint32 year) {
    for (int month = 1; month <= MonthTable::count; ++month)
        m_days[month - 1] = MonthTable::days(month);
    if (const auto row = YearTable::find(year)) {
        m_januaryFirstWeekday = row->januaryFirstWeekday;
        m_days[1] = row->februaryDays;
    } else {
        m_januaryFirstWeekday = gregorianJanuaryFirstWeekday(year);
        m_days[1] = isGregorianLeapYear(year) ? 29 : 28;
    }
}

int CalendarYear::days(int month) const {
    return m_days.at(month - 1);
}

int CalendarYear::firstWeekday(int month) const {
    int weekday = m_januaryFirstWeekday;
    for (int m = 1; m < month; ++m)
        weekday = (weekday + days(m)) % 7;
    return weekday;
}

int CalendarYear::gregorianJanuaryFirstWeekday(qint32 year) {
    // Gauss: 1 January of year y falls on 1 + 5((y-1) mod 4) + 4((y-1) mod 100)
    // + 6((y-1) mod 400), mod 7. Year 400 of the cycle stands for year 0.
    const int y = (yearInCycle(year) == 0 ? 400 : yearInCycle(year)) - 1;
    return (1 + 5 * (y % 4) + 4 * (y % 100) + 6 * y) % 7;
}

bool CalendarYear::isGregorianLeapYear(qint32 year) {
    const int y = yearInCycle(year);
    return y % 4 == 0 && (y % 100 != 0 || y == 0);
}
