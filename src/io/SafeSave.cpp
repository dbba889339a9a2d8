#include "io/SafeSave.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SafeSave", text);
}

} // namespace

QString SafeSave::reason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // a file-size limit: no room for this file either
        return tr("de schijf is vol");
    case EACCES:
    case EPERM:
    case EROFS:
        return tr("geen toestemming");
    case ENOENT:
    case ENOTDIR:
        return tr("de map bestaat niet");
    case EISDIR:
        return tr("dit is een map");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

bool SafeSave::write(const QString& path, const Fill& fill, QString* error) {
    // Unbuffered, so a write that fails fails in the call that made it, while
    // errno still holds the system's reason.
    QSaveFile file(path);
    errno = 0;
    bool saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    saved = saved && fill(file);
    const int failure = errno;
    if (!saved) {
        file.cancelWriting();
    } else {
        errno = 0;
        saved = file.commit();
    }
    if (!saved && error != nullptr) {
        const int why = failure != 0 ? failure : errno;
        *error = why != 0 ? reason(why) : file.errorString();
    }
    return saved;
}
