// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/IsoWeek.h"

namespace {

qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

// Days from 1 January 1970 (a Thursday) to the first of a month. Years are
// counted from March, so the leap day ends them; 400 years are 146097 days.
// In 64 bits, any 32-bit year plus any day offset fits.
qint64 daysToFirst(qint64 year, int month) {
    const qint64 y = year - (month <= 2 ? 1 : 0);
    const qint64 era = floorDiv(y, 400);
    const qint64 yearOfEra = y - era * 400;
    const qint64 dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

// The year that holds a day: the estimate from the mean year is off by at
// most one either way, since leap days keep the calendar within two days of it.
qint64 yearOf(qint64 days) {
    qint64 year = 1970 + floorDiv(days * 400, 146097);
    if (daysToFirst(year, 1) > days)
        --year;
    else if (daysToFirst(year + 1, 1) <= days)
        ++year;
    return year;
}

} // namespace

int IsoWeek::of(qint32 year, int month, int day) {
    const qint64 days = daysToFirst(year, month) + day - 1;
    // A week runs Monday to Sunday and belongs to the year holding its
    // Thursday; Thursdays lie a multiple of 7 days from 1 January 1970.
    const qint64 thursday = floorDiv(days + 3, 7) * 7;
    return int((thursday - daysToFirst(yearOf(thursday), 1)) / 7) + 1;
}
