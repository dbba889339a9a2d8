#pragma once

#include <QString>
#include <optional>

// Reads the year box: a whole number in the 32-bit range, blanks around it
// allowed. Anything else is no year, and the message says which way and
// what to type instead.
class YearText {
public:
    static std::optional<qint32> parse(const QString& text, QString* message = nullptr);
};
