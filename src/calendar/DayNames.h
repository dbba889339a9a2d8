// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The first day of the grids' weeks: Sunday, as the page has always had it,
// or Monday, as Dutch calendars have it today.
enum class WeekStart { Sunday, Monday };

// The day abbreviations heading the seven grid columns.
class DayNames {
public:
    static constexpr int count = 7;

    // The weekday (0 = Sunday .. 6 = Saturday) of a column, 1 .. 7.
    static int weekday(int column, WeekStart start = WeekStart::Sunday);
    // column 1 is "Zo" for weeks from Sunday, "Ma" for weeks from Monday.
    static QString abbreviation(int column, WeekStart start = WeekStart::Sunday);
};
