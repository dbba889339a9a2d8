// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/WholeNumber.h"

#include <QString>
#include <optional>

// Reads the year box: a whole number in the 32-bit range, blanks around it
// allowed. Anything else is no year; the reading says which way, so the
// user can be told what to type instead.
class YearText {
public:
    static constexpr qint64 least = -2147483648LL;
    static constexpr qint64 most = 2147483647LL;

    static std::optional<qint32> parse(const QString& text,
                                       WholeNumber::Reading* reading = nullptr);
};
