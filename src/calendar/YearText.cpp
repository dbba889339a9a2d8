#include "calendar/YearText.h"

#include "calendar/WholeNumber.h"

#include <QCoreApplication>
#include <limits>

std::optional<qint32> YearText::parse(const QString& text, QString* message) {
    constexpr qint64 least = std::numeric_limits<qint32>::min();
    constexpr qint64 most = std::numeric_limits<qint32>::max();
    qint64 year = 0;
    const WholeNumber::Reading reading = WholeNumber::read(text, least, most, &year);
    if (reading == WholeNumber::Reading::Number) {
        return qint32(year);
    }
    if (message != nullptr) {
        const QString range =
            QCoreApplication::translate("YearText",
                                        "Typ een jaar van %1 tot en met %2, bijvoorbeeld 2005.")
                .arg(least)
                .arg(most);
        *message =
            reading == WholeNumber::Reading::NotANumber
                ? QCoreApplication::translate("YearText", "Het jaartal is geen geheel getal. "
                                                          "Typ een jaar, bijvoorbeeld 2005.")
            : reading == WholeNumber::Reading::TooLarge
                ? QCoreApplication::translate("YearText", "Het jaartal is te groot. ") + range
                : QCoreApplication::translate("YearText", "Het jaartal is te klein. ") + range;
    }
    return std::nullopt;
}
