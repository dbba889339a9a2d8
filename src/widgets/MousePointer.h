// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application-wide mouse pointer: the hourglass during long work, and
// afterwards the plain arrow, set explicitly rather than handed back to the
// controls.
class MousePointer {
public:
    static void hourglass();
    static void arrow();
};
