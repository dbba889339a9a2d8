// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/SafeSave.h"

#include "files/FileName.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The name a chain of symbolic links ends in, which need not exist yet (a
// link to a file still to be made is written through, as cp does).
bool followLinks(QByteArray& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.constData(), target, sizeof target);
        if (length < 0)
            return false;
        const QByteArray link(target, length);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    errno = ELOOP;
    return false;
}

bool fail(FileError* error, const FileError& why) {
    if (error != nullptr)
        *error = why;
    return false;
}

// Fills an open descriptor; on failure errno holds the system's reason.
bool fillDescriptor(int fd, const SafeSave::Fill& fill) {
    // Unbuffered, so a write that fails fails in the call that made it, while
    // errno still holds the reason.
    QFile device;
    errno = 0;
    return device.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle) &&
           fill(device);
}

bool writeInto(const QByteArray& path, const SafeSave::Fill& fill, FileError* error) {
    // Without a reader a pipe would block for ever; with O_NONBLOCK the open
    // says so at once, and the writes then block as usual.
    const int fd = open(path.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, FileError::fromErrno(errno));
    if (isatty(fd)) {
        close(fd);
        return fail(error, {FileError::Kind::Terminal, 0});
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const bool written = fillDescriptor(fd, fill);
    const int why = errno;
    if (close(fd) != 0 && written)
        return fail(error, FileError::fromErrno(errno));
    return written || fail(error, FileError::fromErrno(why));
}

bool replace(const QByteArray& path, const struct stat* old, const SafeSave::Fill& fill,
             FileError* error) {
    // As root every file is writable; anyone else keeps a file they may not
    // write, as cp does, even though the folder would let it be replaced.
    if (old != nullptr && access(path.constData(), W_OK) != 0 && errno == EACCES) {
        const bool readOnly = (old->st_mode & 0222) == 0;
        return fail(
            error,
            {readOnly ? FileError::Kind::ReadOnlyFile : FileError::Kind::NoPermission, EACCES});
    }
    // A short name of its own, so a target name near the length limit still
    // has room for its temporary.
    QByteArray temporary = folderOf(path) + "/.ostrabel-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(error, FileError::fromErrno(errno));
    bool saved = fillDescriptor(fd, fill);
    int why = errno;
    if (saved) {
        if (old != nullptr) {
            // Owner first: changing it may clear the set-id bits of the mode.
            if (fchown(fd, old->st_uid, old->st_gid) != 0)
                (void)!fchown(fd, uid_t(-1), old->st_gid);
            fchmod(fd, old->st_mode & 07777);
        } else {
            const mode_t mask = umask(0);
            umask(mask);
            fchmod(fd, 0666 & ~mask);
        }
        saved = fsync(fd) == 0;
        why = errno;
    }
    if (close(fd) != 0 && saved) {
        saved = false;
        why = errno;
    }
    if (saved) {
        saved = rename(temporary.constData(), path.constData()) == 0;
        why = errno;
    }
    if (!saved) {
        unlink(temporary.constData());
        return fail(error, FileError::fromErrno(why));
    }
    return true;
}

} // namespace

bool SafeSave::write(const QString& path, const Fill& fill, FileError* error) {
    QByteArray target = FileName::toNative(path);
    if (target.isEmpty())
        return fail(error, FileError::fromErrno(ENOENT));
    if (!followLinks(target))
        return fail(error, FileError::fromErrno(errno));
    struct stat st;
    if (stat(target.constData(), &st) != 0) {
        return errno == ENOENT ? replace(target, nullptr, fill, error)
                               : fail(error, FileError::fromErrno(errno));
    }
    if (S_ISREG(st.st_mode))
        return replace(target, &st, fill, error);
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))
        return writeInto(target, fill, error);
    return fail(error, FileError::ofType(st.st_mode));
}

bool SafeSave::sameFile(const QString& a, const QString& b) {
    struct stat first, second;
    return stat(FileName::toNative(a).constData(), &first) == 0 &&
           stat(FileName::toNative(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
