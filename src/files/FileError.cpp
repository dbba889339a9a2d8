// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileError.h"

#include <cerrno>
#include <sys/stat.h>

FileError FileError::fromErrno(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return {Kind::System, EIO};
    case ENOENT:
    case ENOTDIR:
        return {Kind::Missing, errorNumber};
    case EACCES:
    case EPERM:
        return {Kind::NoPermission, errorNumber};
    case EROFS:
        return {Kind::ReadOnlySystem, errorNumber};
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // a file-size limit: no room for this file either
        return {Kind::DiskFull, errorNumber};
    case ENAMETOOLONG:
        return {Kind::NameTooLong, errorNumber};
    case ELOOP:
        return {Kind::SymlinkLoop, errorNumber};
    case EISDIR:
        return {Kind::Folder, errorNumber};
    case ENXIO:
        return {Kind::NoReader, errorNumber};
    case EPIPE:
        return {Kind::ReaderGone, errorNumber};
    default:
        return {Kind::System, errorNumber};
    }
}

FileError FileError::ofType(mode_t mode) {
    if (S_ISDIR(mode))
        return {Kind::Folder, EISDIR};
    if (S_ISFIFO(mode))
        return {Kind::Pipe, 0};
    if (S_ISCHR(mode))
        return {Kind::Device, 0};
    if (S_ISBLK(mode))
        return {Kind::BlockDevice, 0};
    if (S_ISSOCK(mode))
        return {Kind::Socket, 0};
    return {};
}
