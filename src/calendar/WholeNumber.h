// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// Reads a whole number typed into a box, the one rule for the year and the
// copy count: blanks around it allowed, an optional sign, decimal digits only.
// A number outside the caller's range is told apart from no number at all, so
// the user can be told which.
class WholeNumber {
public:
    enum class Reading { Number, NotANumber, TooSmall, TooLarge };

    static Reading read(const QString& text, qint64 least, qint64 most, qint64* value);
};
