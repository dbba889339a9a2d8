// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What became of one print request. Anything but Printed has sent nothing;
// the front end tells the user why.
enum class PrintOutcome {
    Printed,
    NoPrinter, // no job: there is no printer to print on
    Refused,   // the printer would not start the page, or did not take it
};
