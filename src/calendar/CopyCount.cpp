// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/CopyCount.h"

#include "calendar/WholeNumber.h"

std::optional<int> CopyCount::parse(const QString& text) {
    qint64 copies = 0;
    if (WholeNumber::read(text, 1, most, &copies) != WholeNumber::Reading::Number) {
        return std::nullopt;
    }
    return int(copies);
}
