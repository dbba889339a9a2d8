// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/YearText.h"

std::optional<qint32> YearText::parse(const QString& text, WholeNumber::Reading* reading) {
    qint64 year = 0;
    const WholeNumber::Reading read = WholeNumber::read(text, least, most, &year);
    if (reading != nullptr) {
        *reading = read;
    }
    if (read != WholeNumber::Reading::Number) {
        return std::nullopt;
    }
    return qint32(year);
}
