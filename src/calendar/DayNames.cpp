// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/DayNames.h"

#include <array>

int DayNames::weekday(int column, WeekStart start) {
    return (column - 1 + (start == WeekStart::Monday ? 1 : 0)) % count;
}

QString DayNames::abbreviation(int column, WeekStart start) {
    static constexpr std::array<const char*, count> names{"Zo", "Ma", "Di", "Wo", "Do", "Vr", "Za"};
    return QString::fromLatin1(names.at(std::size_t(weekday(column, start))));
}
