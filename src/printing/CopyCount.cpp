#include "printing/CopyCount.h"

#include <QCoreApplication>
#include <QRegularExpression>

std::optional<qint16> CopyCount::parse(const QString& text) {
    static const QRegularExpression wholeNumber(QStringLiteral("^\\+?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!wholeNumber.match(trimmed).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong copies = trimmed.toLongLong(&ok, 10);
    if (!ok || copies < 1 || copies > most) {
        return std::nullopt;
    }
    return qint16(copies);
}

QString CopyCount::invalidMessage() {
    return QCoreApplication::translate("CopyCount",
                                       "Het aantal copy's moet een geheel getal van 1 tot en met "
                                       "32767 zijn. Kies een aantal uit de lijst.");
}
