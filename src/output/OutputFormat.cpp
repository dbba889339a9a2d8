// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/OutputFormat.h"

#include "drawing/RenderCalendarBitmap.h"
#include "output/BmpWriter.h"
#include "output/PngWriter.h"
#include "output/SafeSave.h"
#include "printing/PdfJob.h"

#include <QIODevice>

namespace {

bool writeBmp(const OutputFormat::Page& page, QIODevice& device) {
    return BmpWriter::write(page.drawn(), device);
}

bool writePng(const OutputFormat::Page& page, QIODevice& device) {
    return PngWriter::write(page.drawn(), device);
}

// The printed page, as the printer would get it, on a sheet without margins;
// the bitmap's size does not change it.
bool writePdf(const OutputFormat::Page& page, QIODevice& device) {
    const QByteArray pdf = PdfJob::calendar(page.content);
    return !pdf.isEmpty() && device.write(pdf) == pdf.size();
}

} // namespace

QImage OutputFormat::Page::drawn() const {
    return bitmap.isNull() ? RenderCalendarBitmap(content, sizeFactor) : bitmap;
}

const QList<OutputFormat>& OutputFormat::all() {
    // The first is what the preview saves when nothing else is chosen.
    static const QList<OutputFormat> formats{
        {QStringLiteral("bmp"),
         {QStringLiteral("bmp")},
         QStringLiteral("Bitmap format (*.bmp)"),
         writeBmp},
        {QStringLiteral("png"), {QStringLiteral("png")}, QStringLiteral("PNG (*.png)"), writePng},
        {QStringLiteral("pdf"), {QStringLiteral("pdf")}, QStringLiteral("PDF (*.pdf)"), writePdf},
    };
    return formats;
}

const OutputFormat* OutputFormat::named(const QString& name) {
    for (const OutputFormat& format : all())
        if (format.name.compare(name, Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}

const OutputFormat* OutputFormat::forFile(const QString& path) {
    // The last name's own extension: "map.bmp/kalender" has none.
    const QString name = path.section(QLatin1Char('/'), -1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return nullptr;
    const QString suffix = name.mid(dot + 1);
    for (const OutputFormat& format : all())
        if (format.suffixes.contains(suffix, Qt::CaseInsensitive))
            return &format;
    return nullptr;
}

QString OutputFormat::dialogFilter() {
    QStringList entries;
    for (const OutputFormat& format : all()) {
        QStringList patterns;
        for (const QString& suffix : format.suffixes)
            patterns << QStringLiteral("*.") + suffix;
        entries << format.description << patterns.join(QLatin1Char(';'));
    }
    return entries.join(QLatin1Char('|'));
}

QStringList OutputFormat::names() {
    QStringList names;
    for (const OutputFormat& format : all())
        names << format.name;
    return names;
}

bool OutputFormat::save(const Page& page, const QString& path, FileError* error) const {
    return SafeSave::write(
        path, [this, &page](QIODevice& device) { return write(page, device); }, error);
}
