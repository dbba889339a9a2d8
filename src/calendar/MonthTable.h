// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The twelve months as the page shows them: Dutch names right-aligned to nine
// characters (the leading blanks centre them over the grid) and the day
// counts of a common year.
class MonthTable {
public:
    static constexpr int count = 12;

    // month: 1 (January) .. 12 (December)
    static QString name(int month);
    static int days(int month);
};
