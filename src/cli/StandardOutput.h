// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/SafeSave.h"

// The program's standard output, where the calendar goes when the output is
// "-". Standard streams that were closed at start are reopened on /dev/null
// at once: otherwise the next file the program opens would take their number
// and get the calendar or a message written into it.
class StandardOutput {
public:
    // First thing in main, before anything opens a file.
    static void secure();

    // A binary page would only garble the screen there.
    static bool isTerminal();
    // Whether standard output is that very file (opened by the shell, say
    // with >> photo.png), the path as FileName carries it.
    static bool isFile(const QString& path);

    // Fill's bytes onto standard output. On failure returns false and says
    // in Dutch why: closed at start, a reader that went away, a full disk.
    static bool write(const SafeSave::Fill& fill, QString* error);

private:
    static bool s_closed;
};
