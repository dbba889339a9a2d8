#pragma once

#include <QString>
#include <functional>

class QIODevice;

// Writes a file through a temporary one in the target's folder that is
// synced and renamed over the target only when it is complete: a failed save
// leaves no half file and keeps the old one byte for byte.
class SafeSave {
public:
    // Puts the file's bytes into the device; false when the device failed.
    using Fill = std::function<bool(QIODevice&)>;

    // On failure returns false and, when error is given, says in Dutch why,
    // in the system's words where it gave them.
    static bool write(const QString& path, const Fill& fill, QString* error = nullptr);

    // The reason behind a failed file operation, from its errno.
    static QString reason(int errorNumber);
};
