// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "io/FileName.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <initializer_list>
#include <optional>
#include <utility>

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

// The value a name stands for, in any case; none for an unknown name.
template <typename Value>
std::optional<Value> named(const QString& name,
                           std::initializer_list<std::pair<const char*, Value>> values) {
    for (const auto& [text, value] : values) {
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<PhotoFit> fitNamed(const QString& name) {
    return named<PhotoFit>(name, {{"uitrekken", PhotoFit::Stretch},
                                  {"bijsnijden", PhotoFit::Crop},
                                  {"passend", PhotoFit::Fit}});
}

std::optional<CalendarRequest::Format> formatNamed(const QString& name) {
    using Format = CalendarRequest::Format;
    return named<Format>(name, {{"bmp", Format::Bmp}, {"png", Format::Png}, {"pdf", Format::Pdf}});
}

} // namespace

CommandLine::CommandLine(const QStringList& arguments) {
    m_parser.setApplicationDescription(
        tr("Maakt een jaarkalender met foto op één pagina, als BMP, PNG of PDF, of drukt hem af."));
    m_parser.addOptions({
        {jaar, tr("Het jaar van de kalender, een geheel getal (standaard dit jaar)."),
         QStringLiteral("N")},
        {foto, tr("De foto: een JPEG-, HEIC-, AVIF-, PNG-, WebP-, TIFF-, BMP- of GIF-bestand."),
         tr("BESTAND")},
        {fotoPassen,
         tr("Hoe de foto in het kader komt: uitrekken over het hele kader (standaard), "
            "bijsnijden tot hij het kader vult, of passend in zijn geheel met witte randen."),
         QStringLiteral("uitrekken|bijsnijden|passend")},
        {kopLinks, tr("De tekst links in de kopregel."), tr("TEKST")},
        {kopRechts, tr("De tekst rechts in de kopregel."), tr("TEKST")},
        {voetLinks, tr("De tekst links in de voetregel."), tr("TEKST")},
        {voetRechts, tr("De tekst rechts in de voetregel."), tr("TEKST")},
        {groot, tr("BMP en PNG van 1540 x 2200 in plaats van 770 x 1100 pixels.")},
        {afdrukken, tr("Drukt de kalender af, in plaats van of naast UITVOER.")},
        {printer, tr("Drukt af op deze printer in plaats van de standaardprinter."), tr("NAAM")},
        {kopieen, tr("Het aantal kopieën bij afdrukken, 1 tot en met 32767 (standaard 1)."),
         QStringLiteral("N")},
        {formaat, tr("Het formaat bij UITVOER -: bmp, png of pdf."), QStringLiteral("bmp|png|pdf")},
    });
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addPositionalArgument(
        tr("UITVOER"),
        tr("Het bestand dat gemaakt wordt: .bmp, .png of .pdf; - is de standaarduitvoer."),
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

    CalendarRequest& r = m_request;
    r.print = m_parser.isSet(afdrukken);
    if (!r.print && (m_parser.isSet(printer) || m_parser.isSet(kopieen))) {
        return usage(tr("--printer en --kopieen gelden alleen met --afdrukken."));
    }
    const QStringList outputs = m_parser.positionalArguments();
    if (outputs.size() > 1) {
        return usage(
            tr("Geef één UITVOER; de rest (%1) is te veel.").arg(outputs.mid(1).join(' ')));
    }
    if (outputs.isEmpty() && !r.print) {
        return usage(tr("Geef een UITVOER (.bmp, .png, .pdf of -) of --afdrukken."));
    }
    if (!outputs.isEmpty()) {
        r.output = outputs.first();
        const bool standardOutput = r.output == QLatin1String("-");
        const std::optional<CalendarRequest::Format> chosen = formatNamed(m_parser.value(formaat));
        const std::optional<CalendarRequest::Format> named =
            standardOutput ? chosen : formatNamed(QFileInfo(r.output).suffix());
        if (m_parser.isSet(formaat) && !chosen) {
            return usage(tr("Onbekend formaat '%1'. Kies --formaat bmp, png of pdf.")
                             .arg(m_parser.value(formaat)));
        }
        if (!named) {
            return usage(standardOutput
                             ? tr("Kies bij UITVOER - een formaat met --formaat bmp, png of pdf.")
                             : tr("UITVOER '%1' heeft geen bekende extensie. Eindig de naam op "
                                  ".bmp, .png of .pdf.")
                                   .arg(r.output));
        }
        if (chosen && chosen != named) {
            return usage(tr("--formaat %1 past niet bij '%2'. Laat --formaat weg of pas de "
                            "extensie aan.")
                             .arg(m_parser.value(formaat), r.output));
        }
        r.format = *named;
    }

    if (m_parser.isSet(jaar)) {
        r.yearText = m_parser.value(jaar);
    }
    if (m_parser.isSet(foto)) {
        r.photoPath = m_parser.value(foto);
    }
    if (m_parser.isSet(fotoPassen)) {
        const std::optional<PhotoFit> fit = fitNamed(m_parser.value(fotoPassen));
        if (!fit) {
            return usage(tr("Onbekende manier '%1'. Kies --foto-passen uitrekken, bijsnijden of "
                            "passend.")
                             .arg(m_parser.value(fotoPassen)));
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
    if (m_parser.isSet(printer)) {
        r.printer = m_parser.value(printer);
    }
    if (m_parser.isSet(kopieen)) {
        r.copiesText = m_parser.value(kopieen);
    }
    return Action::Make;
}
