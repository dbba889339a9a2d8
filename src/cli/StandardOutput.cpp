// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StandardOutput.h"

#include "files/FileName.h"
#include "messages/Messages.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool StandardOutput::s_closed = false;

void StandardOutput::secure() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free number is this one, as the ones below are open.
            open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            s_closed = s_closed || fd == STDOUT_FILENO;
        }
    }
}

bool StandardOutput::isTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

bool StandardOutput::isFile(const QString& path) {
    struct stat out, file;
    return !s_closed && fstat(STDOUT_FILENO, &out) == 0 &&
           stat(FileName::toNative(path).constData(), &file) == 0 && S_ISREG(out.st_mode) &&
           out.st_dev == file.st_dev && out.st_ino == file.st_ino;
}

bool StandardOutput::write(const SafeSave::Fill& fill, QString* error) {
    if (s_closed) {
        *error = QCoreApplication::translate("StandardOutput", "de standaarduitvoer is gesloten");
        return false;
    }
    QFile out;
    errno = 0;
    bool written = out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                            QFileDevice::DontCloseHandle) &&
                   fill(out);
    const int failure = errno;
    if (!written) {
        *error = Messages::saveReason(FileError::fromErrno(failure));
    }
    return written;
}
