// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The photo formats the program reads: the one table that the loader's
// choice of reader, the open dialog's filter, the refusal's advice, the
// command line's help and the desktop entry's MimeType list come from. A new
// format is a row here (and, when no Qt reader takes it, a reader beside
// HeifReader).
class PhotoFormat {
public:
    QString label;         // as the person knows it: "JPEG"
    QStringList suffixes;  // the usual extensions, lower case
    QStringList mimeTypes; // the system's name first, then its aliases
    // The name of Qt's reader for it, as QImageReader::format() says it;
    // empty for the formats read through libheif.
    QByteArray qtReader;

    static const QList<PhotoFormat>& all();
    // Whether Qt's reader of that name reads one of the program's formats.
    static bool readByQt(const QByteArray& reader);
    // "*.jpg;*.jpeg;...", every suffix of every format.
    static QString patterns();
    static QStringList labels();
    static QStringList allMimeTypes();
};
