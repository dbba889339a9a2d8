// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "calendar/CopyCount.h"
#include "files/FileName.h"
#include "messages/Messages.h"
#include "messages/PhotoFits.h"
#include "output/OutputFormat.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("CommandLine", text);
}

const QString jaar = QStringLiteral("jaar");
const QString foto = QStringLiteral("foto");
const QString kopLinks = QStringLiteral("kop-links");
const QString kopRechts = QStringLiteral("kop-rechts");
const QString voetLinks = QStringLiteral("voet-links");
const QString voetRechts = QStringLiteral("voet-rechts");
const QString groot = QStringLiteral("groot");
const QString afdrukken = QStringLiteral("afdrukken");
const QString printer = QStringLiteral("printer");
const QString kopieen = QStringLiteral("kopieen");
const QString formaat = QStringLiteral("formaat");
const QString fotoPassen = QStringLiteral("foto-passen");
const QString fotoUitsnede = QStringLiteral("foto-uitsnede");
const QString weekBegint = QStringLiteral("week-begint");
const QString weeknummers = QStringLiteral("weeknummers");
const QString feestdagen = QStringLiteral("feestdagen");
const QString maandag = QStringLiteral("maandag");
const QString zondag = QStringLiteral("zondag");

// "bmp", ".bmp" or "BMP" for each format.
QStringList formatList(const QString& before = QString(), bool upper = false) {
    QStringList names;
    for (const QString& name : OutputFormat::names())
        names << before + (upper ? name.toUpper() : name);
    return names;
}

// "bmp, png of pdf", ".bmp, .png of .pdf", "BMP, PNG of PDF".
QString formats(const QString& before = QString(), bool upper = false) {
    return Messages::either(formatList(before, upper));
}

QString fitHelp() {
    QStringList ways;
    for (const PhotoFits::Way& way : PhotoFits::all())
        ways << way.word + QLatin1Char(' ') + way.explanation;
    const QString last = ways.takeLast();
    return tr("Hoe de foto in het kader komt: %1, of %2.")
        .arg(ways.join(QStringLiteral(", ")), last);
}

} // namespace

CommandLine::CommandLine(const QStringList& arguments) {
    m_parser.setApplicationDescription(
        tr("Maakt een jaarkalender met foto op één pagina, als %1, of drukt hem af.")
            .arg(formats(QString(), true)));
    m_parser.addOptions({
        {jaar, tr("Het jaar van de kalender, een geheel getal (standaard dit jaar)."),
         QStringLiteral("N")},
        {foto, tr("De foto: een %1.").arg(Messages::photoFiles()), tr("BESTAND")},
        {fotoPassen, fitHelp(), PhotoFits::words().join(QLatin1Char('|'))},
        {fotoUitsnede,
         tr("Het deel van de foto dat het kader vult, met --foto-passen %1: links, boven, "
            "breedte en hoogte als delen van 0 tot 1 van de rechtopstaande foto, bijvoorbeeld "
            "0.1,0,0.8,0.9. Een deel met een andere vorm dan het kader verliest gelijk aan "
            "beide kanten wat uitsteekt.")
             .arg(PhotoFits::of(PhotoFit::Crop).word),
         QStringLiteral("X,Y,B,H")},
        {weekBegint, tr("De eerste dag van de week in de maanden: zondag (standaard) of maandag."),
         QStringLiteral("zondag|maandag")},
        {weeknummers, tr("Zet de weeknummers (ISO 8601) naast de weken.")},
        {feestdagen, tr("Kleurt de Nederlandse feestdagen rood, als de weekenden.")},
        {kopLinks, tr("De tekst links in de kopregel."), tr("TEKST")},
        {kopRechts, tr("De tekst rechts in de kopregel."), tr("TEKST")},
        {voetLinks, tr("De tekst links in de voetregel."), tr("TEKST")},
        {voetRechts, tr("De tekst rechts in de voetregel."), tr("TEKST")},
        {groot, tr("BMP en PNG van 1540 x 2200 in plaats van 770 x 1100 pixels.")},
        {afdrukken, tr("Drukt de kalender af, in plaats van of naast UITVOER.")},
        {printer, tr("Drukt af op deze printer in plaats van de standaardprinter."), tr("NAAM")},
        {kopieen,
         tr("Het aantal kopieën bij afdrukken, 1 tot en met %1 (standaard 1).")
             .arg(CopyCount::most),
         QStringLiteral("N")},
        {formaat, tr("Het formaat bij UITVOER -: %1.").arg(formats()),
         OutputFormat::names().join(QLatin1Char('|'))},
    });
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addPositionalArgument(
        tr("UITVOER"),
        tr("Het bestand dat gemaakt wordt: %1; - is de standaarduitvoer.")
            .arg(formats(QStringLiteral("."))),
        tr("[UITVOER]"));
    m_action = read(arguments);
}

CommandLine::Action CommandLine::usage(const QString& problem) {
    m_problem = problem + QLatin1Char(' ') + tr("Zie ostrabel-cli --help.");
    return Action::Usage;
}

CommandLine::Action CommandLine::read(const QStringList& arguments) {
    if (!m_parser.parse(arguments)) {
        return usage(m_parser.errorText());
    }
    // Qt takes none of its own options here, so its part of the help has
    // nothing to add.
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all"))) {
        return Action::Help;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        return Action::Version;
    }
    m_request.print = m_parser.isSet(afdrukken);
    if (!m_request.print && (m_parser.isSet(printer) || m_parser.isSet(kopieen))) {
        return usage(tr("--printer en --kopieen gelden alleen met --afdrukken."));
    }
    if (const QString problem = readOutput(); !problem.isEmpty()) {
        return usage(problem);
    }
    if (const QString problem = readPage(); !problem.isEmpty()) {
        return usage(problem);
    }
    if (m_parser.isSet(printer)) {
        m_request.printer = m_parser.value(printer);
    }
    if (m_parser.isSet(kopieen)) {
        m_request.copiesText = m_parser.value(kopieen);
    }
    return Action::Make;
}

// The output file, or standard output, and its format.
QString CommandLine::readOutput() {
    CalendarRequest& r = m_request;
    const QStringList outputs = m_parser.positionalArguments();
    if (outputs.size() > 1) {
        return tr("Geef één UITVOER; de rest (%1) is te veel.")
            .arg(outputs.mid(1).join(QLatin1Char(' ')));
    }
    if (outputs.isEmpty()) {
        return r.print ? QString()
                       : tr("Geef een UITVOER (%1) of --afdrukken.")
                             .arg(Messages::either(formatList(QStringLiteral(".")) +
                                                   QStringList(QStringLiteral("-"))));
    }
    r.output = outputs.first();
    const bool standardOutput = r.output == QLatin1String("-");
    const OutputFormat* chosen = OutputFormat::named(m_parser.value(formaat));
    const OutputFormat* named = standardOutput ? chosen : OutputFormat::forFile(r.output);
    if (m_parser.isSet(formaat) && chosen == nullptr) {
        return tr("Onbekend formaat '%1'. Kies --formaat %2.")
            .arg(m_parser.value(formaat), formats());
    }
    if (named == nullptr) {
        return standardOutput
                   ? tr("Kies bij UITVOER - een formaat met --formaat %1.").arg(formats())
                   : tr("UITVOER '%1' heeft geen bekende extensie. Eindig de naam op "
                        "%2.")
                         .arg(r.output, formats(QStringLiteral(".")));
    }
    if (chosen != nullptr && chosen != named) {
        return tr("--formaat %1 past niet bij '%2'. Laat --formaat weg of pas de extensie aan.")
            .arg(m_parser.value(formaat), r.output);
    }
    r.format = named;
    return {};
}

// What goes on the page.
QString CommandLine::readPage() {
    CalendarRequest& r = m_request;
    if (m_parser.isSet(jaar)) {
        r.yearText = m_parser.value(jaar);
    }
    if (m_parser.isSet(foto)) {
        r.photoPath = m_parser.value(foto);
    }
    if (m_parser.isSet(fotoPassen)) {
        const std::optional<PhotoFit> fit = PhotoFits::named(m_parser.value(fotoPassen));
        if (!fit) {
            return tr("Onbekende manier '%1'. Kies --foto-passen %2.")
                .arg(m_parser.value(fotoPassen), Messages::either(PhotoFits::words()));
        }
        r.photoFit = *fit;
    }
    if (QString problem = readCalendar(); !problem.isEmpty()) {
        return problem;
    }
    // Names keep their bytes; a text is drawn, so a byte that is no UTF-8
    // shows as the replacement character.
    r.headerLeft = FileName::shown(m_parser.value(kopLinks));
    r.headerRight = FileName::shown(m_parser.value(kopRechts));
    r.footerLeft = FileName::shown(m_parser.value(voetLinks));
    r.footerRight = FileName::shown(m_parser.value(voetRechts));
    r.sizeFactor = m_parser.isSet(groot) ? 2 : 1;
    return {};
}

// The part of the photo, and the weeks.
QString CommandLine::readCalendar() {
    CalendarRequest& r = m_request;
    if (m_parser.isSet(fotoUitsnede)) {
        const std::optional<QRectF> crop = cropNamed(m_parser.value(fotoUitsnede));
        if (!crop) {
            return tr("Ongeldige uitsnede '%1'. Geef --foto-uitsnede X,Y,B,H: vier getallen van 0 "
                      "tot 1 met een punt als decimaalteken, zoals 0.1,0,0.8,0.9, waarbij X+B en "
                      "Y+H hoogstens 1 zijn en B en H groter dan 0.")
                .arg(m_parser.value(fotoUitsnede));
        }
        if (m_parser.isSet(fotoPassen) && r.photoFit != PhotoFit::Crop) {
            return tr("--foto-uitsnede geldt alleen met --foto-passen %1. Laat --foto-passen weg "
                      "of kies %1.")
                .arg(PhotoFits::of(PhotoFit::Crop).word);
        }
        r.photoFit = PhotoFit::Crop;
        r.photoCrop = *crop;
    }
    if (m_parser.isSet(weekBegint)) {
        const QString day = m_parser.value(weekBegint);
        if (day.compare(maandag, Qt::CaseInsensitive) != 0 &&
            day.compare(zondag, Qt::CaseInsensitive) != 0) {
            return tr("Onbekende dag '%1'. Kies --week-begint maandag of zondag.").arg(day);
        }
        r.weekStart =
            day.compare(maandag, Qt::CaseInsensitive) == 0 ? WeekStart::Monday : WeekStart::Sunday;
    }
    r.weekNumbers = m_parser.isSet(weeknummers);
    r.holidays = m_parser.isSet(feestdagen);
    return {};
}

std::optional<QRectF> CommandLine::cropNamed(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    double values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool number = false;
        values[i] = QLocale::c().toDouble(parts[i].trimmed(), &number);
        if (!number || !(values[i] >= 0 && values[i] <= 1)) {
            return std::nullopt;
        }
    }
    // A hair beyond 1 from rounding in a script is still the edge.
    constexpr double slack = 1e-9;
    const QRectF crop(values[0], values[1], values[2], values[3]);
    if (crop.width() <= 0 || crop.height() <= 0 || crop.right() > 1 + slack ||
        crop.bottom() > 1 + slack) {
        return std::nullopt;
    }
    return crop;
}
