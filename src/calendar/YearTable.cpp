// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/YearTable.h"

#include <array>

std::optional<YearTable::Row> YearTable::find(qint32 year) {
    static constexpr std::array<Row, lastYear - firstYear + 1> rows{{
        {2000, 6, 29}, {2001, 1, 28}, {2002, 2, 28}, {2003, 3, 28}, {2004, 4, 29}, {2005, 6, 28},
        {2006, 0, 28}, {2007, 1, 28}, {2008, 2, 29}, {2009, 4, 28}, {2010, 5, 28}, {2011, 6, 28},
        {2012, 0, 29}, {2013, 2, 28}, {2014, 3, 28}, {2015, 4, 28}, {2016, 5, 29}, {2017, 0, 28},
        {2018, 1, 28}, {2019, 2, 28}, {2020, 3, 29},
    }};
    if (year < firstYear || year > lastYear)
        return std::nullopt;
    return rows[static_cast<std::size_t>(year - firstYear)];
}
