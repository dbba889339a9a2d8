// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CommonDialog.h"

#include "files/FileError.h"
#include "files/FileName.h"
#include "messages/Messages.h"
#include "widgets/Controls.h"

#include <QFileDialog>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why nothing can be saved under that name, as the command line would say
// it; none when it can.
FileError saveRefusal(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? "." : slash == 0 ? "/" : target.left(slash);
    struct stat st;
    if (stat(target.constData(), &st) == 0 && access(target.constData(), W_OK) != 0) {
        if (errno != EACCES)
            return FileError::fromErrno(errno);
        return {(st.st_mode & 0222) == 0 ? FileError::Kind::ReadOnlyFile
                                         : FileError::Kind::NoPermission,
                EACCES};
    }
    if (access(folder.constData(), W_OK) != 0)
        return FileError::fromErrno(errno);
    return {};
}

} // namespace

QString CommonDialog::toQtFilter(const QString& filter) {
    QStringList entries;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

// Qt's dialog lists a name that is not UTF-8 with U+FFFD in it; the name
// the user picked is the one on disk.
bool CommonDialog::showOpen(QWidget* parent) {
    fileName = FileName::recovered(askOpenFileName(parent, toQtFilter(filter)));
    return !fileName.isEmpty();
}

bool CommonDialog::showSave(QWidget* parent) {
    for (;;) {
        const QStringList entries = toQtFilter(filter).split(QStringLiteral(";;"));
        QString chosen = entries.value(filterIndex - 1);
        fileName = FileName::recovered(
            askSaveFileName(parent, toQtFilter(filter), &chosen, flags & OverwritePrompt));
        filterIndex = int(qMax<qsizetype>(0, entries.indexOf(chosen))) + 1;
        if (fileName.isEmpty()) {
            return false;
        }
        if (!(flags & NoReadOnlyReturn)) {
            return true;
        }
        const FileError refusal = saveRefusal(FileName::toNative(fileName));
        if (!refusal.failed()) {
            return true;
        }
        refuse(parent, Messages::cannotSaveThere(refusal));
    }
}

// The patterns are not repeated after the description: the user sees the
// description as the program states it.
QString CommonDialog::askOpenFileName(QWidget* parent, const QString& qtFilter) {
    return QFileDialog::getOpenFileName(parent, QString(), fileName, qtFilter, nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

QString CommonDialog::askSaveFileName(QWidget* parent, const QString& qtFilter,
                                      QString* selectedFilter, bool confirmOverwrite) {
    QFileDialog::Options options = QFileDialog::HideNameFilterDetails;
    if (!confirmOverwrite) {
        options |= QFileDialog::DontConfirmOverwrite;
    }
    return QFileDialog::getSaveFileName(parent, QString(), fileName, qtFilter, selectedFilter,
                                        options);
}

void CommonDialog::refuse(QWidget* parent, const QString& message) {
    Controls::warn(parent, message);
}
