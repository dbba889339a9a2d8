// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/Messages.h"

#include "calendar/CopyCount.h"
#include "calendar/YearText.h"
#include "drawing/PageGeometry.h"
#include "photo/HeifReader.h"
#include "photo/PhotoFormat.h"

#include <QCoreApplication>

#include <cerrno>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Messages", text);
}

using Kind = FileError::Kind;

// A number in words, as the last resort for a reason the program has no
// sentence for: "tweeëntwintig".
QString inWords(int number) {
    static const char* const small[] = {
        "nul",      "een",      "twee",    "drie",      "vier",     "vijf",     "zes",
        "zeven",    "acht",     "negen",   "tien",      "elf",      "twaalf",   "dertien",
        "veertien", "vijftien", "zestien", "zeventien", "achttien", "negentien"};
    static const char* const tens[] = {"",        "",       "twintig",  "dertig",  "veertig",
                                       "vijftig", "zestig", "zeventig", "tachtig", "negentig"};
    if (number < 0 || number >= 1000)
        return QString::number(number);
    if (number < 20)
        return QString::fromUtf8(small[number]);
    if (number < 100) {
        const QString unit = number % 10 == 0 ? QString() : QString::fromUtf8(small[number % 10]);
        const QString joint = unit.isEmpty()        ? QString()
                              : unit.endsWith(u'e') ? QStringLiteral("ën")
                                                    : QStringLiteral("en");
        return unit + joint + QString::fromUtf8(tens[number / 10]);
    }
    const int hundreds = number / 100;
    return (hundreds == 1 ? QString() : QString::fromUtf8(small[hundreds])) +
           QStringLiteral("honderd") + (number % 100 == 0 ? QString() : inWords(number % 100));
}

// The system's reasons a file can meet that no FileError kind names; the
// system's own words are English.
QString systemText(int errorNumber) {
    switch (errorNumber) {
    case EIO:
        return tr("het apparaat gaf een lees- of schrijffout");
    case ENODEV:
    case ENXIO:
        return tr("het apparaat is er niet");
    case EBUSY:
    case ETXTBSY:
        return tr("het bestand is in gebruik");
    case EMFILE:
    case ENFILE:
        return tr("er zijn te veel bestanden open");
    case ENOMEM:
        return tr("er is te weinig geheugen");
    case EAGAIN:
    case EINTR:
        return tr("het systeem was even bezet");
    case EOVERFLOW:
        return tr("het bestand is te groot voor dit systeem");
    case EEXIST:
        return tr("het bestand bestaat al");
    case EMLINK:
        return tr("de map heeft te veel koppelingen");
    case EINVAL:
    case ENOTSUP:
    case ENOSYS:
    case ESPIPE:
        return tr("het bestandssysteem kan dit niet");
    case EILSEQ:
        return tr("de naam bevat tekens die het bestandssysteem niet toestaat");
    case ESTALE:
    case ETIMEDOUT:
    case ECONNRESET:
    case ECONNABORTED:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case EREMOTEIO:
        return tr("de verbinding met de netwerkmap is verbroken");
    case ENOMEDIUM:
    case EMEDIUMTYPE:
        return tr("er zit geen bruikbare schijf in het station");
    case EUCLEAN:
        return tr("het bestandssysteem is beschadigd");
    case ENOLCK:
    case EDEADLK:
        return tr("het bestand is vergrendeld");
    case ENOKEY:
    case EKEYEXPIRED:
    case EKEYREVOKED:
    case EKEYREJECTED:
        return tr("de map is versleuteld en niet ontgrendeld");
    default:
        return tr("foutnummer %1").arg(inWords(errorNumber));
    }
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

// One way to say it, whichever part of the budget a photo is over; a HEIF
// file that large is refused before its size is known.
QString tooLarge(const QSize& size) {
    if (size.isEmpty())
        return tr("de foto is te groot om in te lezen");
    return tr("de foto is te groot om in te lezen (%1 x %2 pixels)")
        .arg(size.width())
        .arg(size.height());
}

// Why a photo's file could not be read, and what to do instead.
QString unreadable(const FileError& file, QString* advice) {
    switch (file.kind) {
    case Kind::Missing:
        *advice = tr("Controleer de naam en de map.");
        return tr("het bestand bestaat niet");
    case Kind::NoPermission:
        *advice = tr("Kies een ander bestand of vraag toestemming aan de eigenaar.");
        return tr("er is geen toestemming om het te lezen");
    case Kind::Folder:
        *advice = tr("Kies een foto in de map.");
        return kindOfFile(Kind::Folder);
    default:
        const QString kind = kindOfFile(file.kind);
        return kind.isEmpty() ? systemText(file.errorNumber) : kind;
    }
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
        reason = tooLarge(result.size);
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
        reason = unreadable(result.file, &advice);
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
    case Kind::ReaderGone:
        return tr("het programma dat las is gestopt");
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

QString Messages::cannotSaveThere(const FileError& error) {
    return tr("Hier kan de kalender niet worden opgeslagen (%1). Kies een andere map of naam.")
        .arg(saveReason(error));
}

QString Messages::outputIsPhoto(const QString& path) {
    return tr("'%1' is de foto zelf; de kalender zou hem overschrijven. Kies een andere naam.")
        .arg(path);
}
