// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;
struct FileError;
struct PageContent;

// The formats the page is saved in: the one table that the preview's save
// dialog and its save, and ostrabel-cli's choice of format, its help and its
// usage errors all read. A new format is a row here.
class OutputFormat {
public:
    // What a format is written from: the page's choices at its size, and the
    // page drawn at that size when the caller has it already, as the preview
    // does; otherwise it is drawn when a format needs it.
    struct Page {
        const PageContent& content;
        int sizeFactor = 1;
        QImage bitmap;
        QImage drawn() const;
    };
    // Puts the file's bytes into the device; false when that failed.
    using Writer = bool (*)(const Page& page, QIODevice& device);

    QString name;         // as --formaat takes it
    QStringList suffixes; // the extensions that choose it, lower case
    QString description;  // the save dialog's name for it
    Writer write = nullptr;

    static const QList<OutputFormat>& all();
    // By name or by a file name's extension, in any case; null for none.
    static const OutputFormat* named(const QString& name);
    static const OutputFormat* forFile(const QString& path);
    // The formats as the save dialog offers them, in the table's order:
    // "Bitmap format (*.bmp)|*.bmp|PNG (*.png)|*.png|...".
    static QString dialogFilter();
    static QStringList names();

    // Written so that a failure leaves no half file and replaces nothing (see
    // SafeSave); on failure says why when `error` is given.
    bool save(const Page& page, const QString& path, FileError* error) const;
};
