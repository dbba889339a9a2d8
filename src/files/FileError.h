// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

// Why a file could not be opened, read or written, in the kinds a person can
// act on; the front ends put them into words.
struct FileError {
    enum class Kind {
        None,
        Missing, // the file, or a folder on its way
        NoPermission,
        ReadOnlySystem,
        ReadOnlyFile,
        DiskFull,
        NameTooLong,
        SymlinkLoop,
        Folder,
        Pipe,
        Device,
        BlockDevice,
        Socket,
        Terminal,
        NoReader,   // a pipe nobody reads from
        ReaderGone, // a pipe whose reader stopped while it was written
        System,     // a rarer reason: errorNumber has it
    };

    Kind kind = Kind::None;
    int errorNumber = 0;

    bool failed() const { return kind != Kind::None; }

    static FileError fromErrno(int errorNumber);
    // What a name that is not a regular file is, from its stat mode.
    static FileError ofType(mode_t mode);
};
