#include "main_window/YearText.h"

#include <QCoreApplication>
#include <QRegularExpression>

std::optional<qint32> YearText::parse(const QString& text) {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!wholeNumber.match(trimmed).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const int year = trimmed.toInt(&ok, 10);
    if (!ok) {
        return std::nullopt; // beyond the 32-bit range
    }
    return year;
}

QString YearText::invalidMessage() {
    return QCoreApplication::translate("YearText",
                                       "Het jaartal is geen geheel getal. Typ een jaar, "
                                       "bijvoorbeeld 2005.");
}
