// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Reads the copies box: a whole number from 1 to 32767 (what a print job can
// ask for), blanks around it allowed. Anything else, 0 and negative numbers
// included, is no copy count, and the caller says so to the user.
class CopyCount {
public:
    static constexpr int most = 32767;

    static std::optional<int> parse(const QString& text);
};
