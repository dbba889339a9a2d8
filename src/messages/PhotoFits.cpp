// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/PhotoFits.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("PhotoFits", text);
}

} // namespace

const QList<PhotoFits::Way>& PhotoFits::all() {
    static const QList<Way> ways{
        {PhotoFit::Stretch, QStringLiteral("uitrekken"), tr("Uitrekken"),
         tr("over het hele kader (standaard)")},
        {PhotoFit::Crop, QStringLiteral("bijsnijden"), tr("Bijsnijden"),
         tr("tot hij het kader vult")},
        {PhotoFit::Fit, QStringLiteral("passend"), tr("Passend"),
         tr("in zijn geheel met witte randen")},
    };
    return ways;
}

std::optional<PhotoFit> PhotoFits::named(const QString& word) {
    for (const Way& way : all())
        if (way.word.compare(word, Qt::CaseInsensitive) == 0)
            return way.fit;
    return std::nullopt;
}

const PhotoFits::Way& PhotoFits::of(PhotoFit fit) {
    for (const Way& way : all())
        if (way.fit == fit)
            return way;
    return all().first();
}

QStringList PhotoFits::words() {
    QStringList words;
    for (const Way& way : all())
        words << way.word;
    return words;
}
