// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "calendar/CopyCount.h"
#include "files/FileName.h"
#include "messages/Messages.h"
#include "messages/PhotoFits.h"
#include "output/OutputFormat.h"

#include <QCoreApplication>

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
    // Names keep their bytes; a text is drawn, so a byte that is no UTF-8
    // shows as the replacement character.
    r.headerLeft = FileName::shown(m_parser.value(kopLinks));
    r.headerRight = FileName::shown(m_parser.value(kopRechts));
    r.footerLeft = FileName::shown(m_parser.value(voetLinks));
    r.footerRight = FileName::shown(m_parser.value(voetRechts));
    r.sizeFactor = m_parser.isSet(groot) ? 2 : 1;
    return {};
}
