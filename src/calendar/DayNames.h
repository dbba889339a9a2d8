// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The day abbreviations heading the seven grid columns; weeks start on Sunday.
class DayNames {
public:
    static constexpr int count = 7;

    // column: 1 (Sunday, "Zo") .. 7 (Saturday, "Za")
    static QString abbreviation(int column);
};
