#include "printing/CopyCount.h"

#include "calendar/WholeNumber.h"

#include <QCoreApplication>

std::optional<qint16> CopyCount::parse(const QString& text) {
    qint64 copies = 0;
    if (WholeNumber::read(text, 1, most, &copies) != WholeNumber::Reading::Number) {
        return std::nullopt;
    }
    return qint16(copies);
}

QString CopyCount::invalidMessage() {
    return QCoreApplication::translate("CopyCount",
                                       "Het aantal copy's moet een geheel getal van 1 tot en met "
                                       "32767 zijn. Kies een aantal uit de lijst.");
}
