// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/DayNames.h"
#include "drawing/PhotoPlacement.h"

// What the window remembers between runs: how the photo goes into its frame
// and the calendar's options. The texts, the year and the photo start afresh
// each time, as they always have. The file is QSettings' (under
// XDG_CONFIG_HOME); one that cannot be read, or holds what is no choice,
// counts as no choice made.
struct RememberedChoices {
    PhotoFit fit = PhotoFit::Stretch;
    WeekStart weekStart = WeekStart::Sunday;
    bool weekNumbers = false;
    bool holidays = false;

    static RememberedChoices load();
    void save() const;
};
