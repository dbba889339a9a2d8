// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CalendarRequest.h"

#include <QString>
#include <functional>

struct PageContent;

// Makes what one command line asks for: the page as a file or on standard
// output, on paper, or both. Everything typed is checked before anything is
// written or sent, so a mistake leaves no half result.
class CalendarCommand {
public:
    // Says one line to the user; the command calls it only on failure.
    using Complain = std::function<void(const QString&)>;

    static ExitCode run(const CalendarRequest& request, const Complain& complain);

private:
    // The page the request describes and the copies it asks for; false when
    // something typed is wrong, which the user is told.
    static bool readPage(const CalendarRequest& request, const Complain& complain,
                         PageContent* content, int* copies);
    // Into the output, then on paper; false on the first failure, told.
    static bool deliver(const CalendarRequest& request, const PageContent& content, int copies,
                        const Complain& complain);
    static bool writeOutput(const CalendarRequest& request, const PageContent& content,
                            const Complain& complain);
};
