// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/RememberedChoices.h"

#include "messages/PhotoFits.h"

#include <QSettings>

#include <memory>

namespace {

const QString fitKey = QStringLiteral("foto/passen");
const QString weekStartKey = QStringLiteral("kalender/week-begint");
const QString weekNumbersKey = QStringLiteral("kalender/weeknummers");
const QString holidaysKey = QStringLiteral("kalender/feestdagen");
const QString monday = QStringLiteral("maandag"), sunday = QStringLiteral("zondag");

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Ostrabel"), QStringLiteral("Ostrabel"));
}

// Only the words the program writes count; anything else keeps the default.
bool flag(const QSettings& stored, const QString& key) {
    return stored.value(key).toString() == QLatin1String("true");
}

} // namespace

RememberedChoices RememberedChoices::load() {
    const std::unique_ptr<QSettings> file = settings();
    const QSettings& stored = *file;
    RememberedChoices choices;
    if (stored.status() != QSettings::NoError)
        return choices;
    choices.fit = PhotoFits::named(stored.value(fitKey).toString()).value_or(choices.fit);
    if (stored.value(weekStartKey).toString() == monday)
        choices.weekStart = WeekStart::Monday;
    choices.weekNumbers = flag(stored, weekNumbersKey);
    choices.holidays = flag(stored, holidaysKey);
    return choices;
}

void RememberedChoices::save() const {
    const std::unique_ptr<QSettings> file = settings();
    QSettings& stored = *file;
    stored.setValue(fitKey, PhotoFits::of(fit).word);
    stored.setValue(weekStartKey, weekStart == WeekStart::Monday ? monday : sunday);
    stored.setValue(weekNumbersKey, weekNumbers ? QStringLiteral("true") : QStringLiteral("false"));
    stored.setValue(holidaysKey, holidays ? QStringLiteral("true") : QStringLiteral("false"));
}
