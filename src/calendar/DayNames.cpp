// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/DayNames.h"

#include <array>

QString DayNames::abbreviation(int column) {
    static constexpr std::array<const char*, count> names{"Zo", "Ma", "Di", "Wo", "Do", "Vr", "Za"};
    return QString::fromLatin1(names.at(column - 1));
}
