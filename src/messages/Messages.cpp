// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/Messages.h"

#include "calendar/CopyCount.h"
#include "calendar/YearText.h"
#include "drawing/PageGeometry.h"
#include "photo/HeifReader.h"
#include "photo/PhotoFormat.h"

#include <QCoreApplication>

#include <cstring>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Messages", text);
}

using Kind = FileError::Kind;

QString systemText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// Reasons that read the same whether a file was to be read or written.
QString kindOfFile(Kind kind) {
    switch (kind) {
    case Kind::Folder:
        return tr("dit is een map");
    case Kind::Pipe:
        return tr("dit is een pipe, geen bestand");
    case Kind::Device:
        return tr("dit is een apparaat, geen bestand");
    case Kind::BlockDevice:
        return tr("dit is een blokapparaat");
    case Kind::Socket:
        return tr("dit is een socket");
    case Kind::Terminal:
        return tr("dit is een terminal");
    case Kind::NameTooLong:
        return tr("de naam is te lang");
    case Kind::SymlinkLoop:
        return tr("de symbolische koppelingen vormen een kring");
    default:
        return {};
    }
}

qint64 megabytes(qint64 bytes) {
    return (bytes + (1 << 20) - 1) >> 20;
}

} // namespace

QString Messages::either(const QStringList& items) {
    if (items.size() < 2)
        return items.join(QString());
    return tr("%1 of %2")
        .arg(items.first(items.size() - 1).join(QStringLiteral(", ")), items.last());
}

QString Messages::photoFiles() {
    QStringList labels = PhotoFormat::labels();
    for (QString& label : labels)
        label += QLatin1Char('-');
    labels.last() += tr("bestand");
    return either(labels);
}

QString Messages::yearInvalid(WholeNumber::Reading reading) {
    const QString range = tr("Typ een jaar van %1 tot en met %2, bijvoorbeeld 2005.")
                              .arg(YearText::least)
                              .arg(YearText::most);
    switch (reading) {
    case WholeNumber::Reading::TooLarge:
        return tr("Het jaartal is te groot. ") + range;
    case WholeNumber::Reading::TooSmall:
        return tr("Het jaartal is te klein. ") + range;
    default:
        return tr("Het jaartal is geen geheel getal. Typ een jaar, bijvoorbeeld 2005.");
    }
}

QString Messages::copiesInvalid() {
    return tr("Het aantal copy's moet een geheel getal van 1 tot en met %1 zijn. Kies een aantal "
              "uit de lijst.")
        .arg(CopyCount::most);
}

QString Messages::noDefaultPrinter() {
    return tr("Er is geen standaardprinter. Stel een standaardprinter in en probeer het opnieuw.");
}

QString Messages::printRefused() {
    return tr("De printer kon de afdruk niet starten. Controleer de printer en probeer het "
              "opnieuw.");
}

QString Messages::photoRefused(const QString& path, const PhotoLoader::Result& result) {
    using Problem = PhotoLoader::Problem;
    QString reason;
    QString advice = tr("Kies een ander bestand.");
    switch (result.problem) {
    case Problem::None:
        return {};
    case Problem::NotAPicture:
        reason = tr("dit is geen foto in een bekend formaat");
        advice = tr("Kies een %1.").arg(photoFiles());
        break;
    case Problem::Damaged:
        reason = tr("het bestand is beschadigd");
        break;
    case Problem::TooManyTiles:
        reason = tr("de foto bestaat uit te veel tegels (%1; ten hoogste %2)")
                     .arg(result.tiles)
                     .arg(HeifReader::maxTiles);
        break;
    case Problem::TooLarge:
        // A HEIF file that large is refused before its size is known.
        reason = result.size.isEmpty()
                     ? tr("de foto is te groot om in te lezen")
                     : tr("de foto is te groot: %1 x %2 pixels vraagt %3 MB geheugen, de grens "
                          "is %4 MB")
                           .arg(result.size.width())
                           .arg(result.size.height())
                           .arg(megabytes(result.neededBytes))
                           .arg(megabytes(result.limitBytes));
        advice = tr("Verklein de foto of kies een andere.");
        break;
    case Problem::Unsupported:
        reason = tr("deze soort foto wordt niet ondersteund");
        advice = tr("Sla de foto op als JPEG- of 8-bits PNG-bestand en kies dat.");
        break;
    case Problem::Incomplete:
        reason = tr("het bestand is onvolledig: het houdt te vroeg op");
        advice = tr("Kopieer de foto opnieuw of kies een andere.");
        break;
    case Problem::File:
        switch (result.file.kind) {
        case Kind::Missing:
            reason = tr("het bestand bestaat niet");
            advice = tr("Controleer de naam en de map.");
            break;
        case Kind::NoPermission:
            reason = tr("er is geen toestemming om het te lezen");
            advice = tr("Kies een ander bestand of vraag toestemming aan de eigenaar.");
            break;
        case Kind::Folder:
            reason = kindOfFile(Kind::Folder);
            advice = tr("Kies een foto in de map.");
            break;
        case Kind::System:
            reason = systemText(result.file.errorNumber);
            break;
        default:
            reason = kindOfFile(result.file.kind);
            if (reason.isEmpty())
                reason = systemText(result.file.errorNumber);
            break;
        }
        break;
    }
    return tr("De foto '%1' kan niet worden geladen: %2. %3").arg(path, reason, advice);
}

QString Messages::photoIncomplete(const QString& path) {
    return tr("De foto '%1' is onvolledig: het bestand houdt te vroeg op, en wat ontbreekt "
              "blijft leeg op de kalender.")
        .arg(path);
}

QString Messages::photoSmall(const QSize& size) {
    const QSize sharp = PageGeometry::photoPixels(PageGeometry::sharpDotsPerInch);
    return tr("De foto is klein (%1 x %2 pixels): afgedrukt wordt hij minder scherp. Voor een "
              "scherpe afdruk is %3 x %4 pixels of meer nodig.")
        .arg(size.width())
        .arg(size.height())
        .arg(sharp.width())
        .arg(sharp.height());
}

QString Messages::saveReason(const FileError& error) {
    switch (error.kind) {
    case Kind::DiskFull:
        return tr("de schijf is vol");
    case Kind::NoPermission:
        return tr("geen toestemming");
    case Kind::ReadOnlySystem:
        return tr("het bestandssysteem is alleen-lezen");
    case Kind::ReadOnlyFile:
        return tr("het bestand is alleen-lezen");
    case Kind::Missing:
        return tr("de map bestaat niet");
    case Kind::NoReader:
        return tr("niemand leest uit deze pipe");
    case Kind::None:
    case Kind::System:
        return systemText(error.errorNumber);
    default:
        return kindOfFile(error.kind);
    }
}

QString Messages::notSaved(const FileError& error) {
    return tr("De kalender is niet opgeslagen (%1). Kies een andere map of naam en probeer het "
              "opnieuw.")
        .arg(saveReason(error));
}

QString Messages::outputIsPhoto(const QString& path) {
    return tr("'%1' is de foto zelf; de kalender zou hem overschrijven. Kies een andere naam.")
        .arg(path);
}
