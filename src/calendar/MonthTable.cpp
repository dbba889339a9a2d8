// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthTable.h"

#include <array>

namespace {

struct Month {
    const char* name;
    int days;
};

constexpr std::array<Month, MonthTable::count> months{{
    {"  Januari", 31},
    {" Februari", 28},
    {"    Maart", 31},
    {"    April", 30},
    {"      Mei", 31},
    {"     Juni", 30},
    {"     Juli", 31},
    {" Augustus", 31},
    {"September", 30},
    {"  Oktober", 31},
    {" November", 30},
    {" December", 31},
}};

} // namespace

QString MonthTable::name(int month) {
    return QString::fromLatin1(months.at(month - 1).name);
}

int MonthTable::days(int month) {
    return months.at(month - 1).days;
}
