// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <optional>

// The years offered in the year list, with the two facts the page needs.
class YearTable {
public:
    static constexpr qint32 firstYear = 2000;
    static constexpr qint32 lastYear = 2020;

    struct Row {
        qint32 year;
        int januaryFirstWeekday; // 0 = Sunday .. 6 = Saturday
        int februaryDays;
    };

    // The row for the year, or nothing for a year outside firstYear..lastYear.
    static std::optional<Row> find(qint32 year);
};
