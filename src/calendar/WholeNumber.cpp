// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/WholeNumber.h"

#include <QRegularExpression>

WholeNumber::Reading WholeNumber::read(const QString& text, qint64 least, qint64 most,
                                       qint64* value) {
    static const QRegularExpression wholeNumber(QStringLiteral("^([+-]?)0*([0-9]+)$"));
    const QRegularExpressionMatch match = wholeNumber.match(text.trimmed());
    if (!match.hasMatch()) {
        return Reading::NotANumber;
    }
    const bool negative = match.capturedView(1) == QLatin1String("-");
    // Eighteen digits always fit in 64 bits; anything longer lies outside
    // every range a caller asks for.
    const QStringView digits = match.capturedView(2);
    if (digits.size() > 18) {
        return negative ? Reading::TooSmall : Reading::TooLarge;
    }
    const qint64 number = negative ? -digits.toLongLong() : digits.toLongLong();
    if (number < least) {
        return Reading::TooSmall;
    }
    if (number > most) {
        return Reading::TooLarge;
    }
    *value = number;
    return Reading::Number;
}
