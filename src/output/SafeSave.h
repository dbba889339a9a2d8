// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileError.h"

#include <QString>
#include <functional>

class QIODevice;

// Writes a file so that nothing is lost or replaced that was not meant to be.
//
// - A regular file, or a name that does not exist yet, is written through a
//   temporary file in the same folder that is synced and renamed over it only
//   when complete: a failed save leaves no half file and keeps the old one
//   byte for byte. A replaced file keeps its mode, and its owner and group
//   where the system allows.
// - A character device or a pipe (say /dev/null, or a FIFO a program reads)
//   is written straight into, as cp does, never replaced by a regular file.
// - A folder, a block device, a socket or a terminal is refused untouched.
// Symbolic links are followed to what they name.
class SafeSave {
public:
    // Puts the file's bytes into the device; false when the device failed.
    using Fill = std::function<bool(QIODevice&)>;

    // The path as FileName carries it. On failure returns false and, when
    // error is given, says why.
    static bool write(const QString& path, const Fill& fill, FileError* error = nullptr);

    // Whether both names lead to the same existing file, through any links.
    static bool sameFile(const QString& a, const QString& b);
};
