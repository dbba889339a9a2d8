// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StandardOutput.h"

#include "messages/Messages.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
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
        *error = failure == EPIPE ? QCoreApplication::translate("StandardOutput",
                                                                "het programma dat las is gestopt")
                 : failure != 0   ? Messages::saveReason(FileError::fromErrno(failure))
                                  : out.errorString();
    }
    return written;
}
