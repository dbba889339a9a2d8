#include "calendar/YearText.h"

#include "calendar/WholeNumber.h"

#include <QCoreApplication>
#include <limits>

std::optional<qint32> YearText::parse(const QString& text) {
    qint64 year = 0;
    if (WholeNumber::read(text, std::numeric_limits<qint32>::min(),
                          std::numeric_limits<qint32>::max(),
                          &year) != WholeNumber::Reading::Number) {
        return std::nullopt;
    }
    return qint32(year);
}

QString YearText::invalidMessage() {
    return QCoreApplication::translate("YearText",
                                       "Het jaartal is geen geheel getal. Typ een jaar, "
                                       "bijvoorbeeld 2005.");
}
