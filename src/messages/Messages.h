// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/WholeNumber.h"
#include "files/FileError.h"
#include "photo/PhotoLoader.h"

#include <QString>
#include <QStringList>

// The program's sentences to the user, in Dutch, for both front ends: the
// real reason, and what to do about it. File names are given as FileName
// carries them; the caller turns them into what its output shows.
class Messages {
public:
    // "a, b of c": a choice among the items, in Dutch.
    static QString either(const QStringList& items);
    // "JPEG-, HEIC-, ... of GIF-bestand": every photo format the program reads.
    static QString photoFiles();

    // A typed year that is no year, and what to type instead.
    static QString yearInvalid(WholeNumber::Reading reading);
    // A copy count that is none, in the window, which offers a list.
    static QString copiesInvalid();
    static QString noDefaultPrinter();
    // The printer would not start the page, or took no job.
    static QString printRefused();

    // Why a photo was not loaded, and what to choose instead.
    static QString photoRefused(const QString& path, const PhotoLoader::Result& result);
    // A photo that loaded, but whose file ends early.
    static QString photoIncomplete(const QString& path);
    // A photo too small to print sharply; nothing is refused for it.
    static QString photoSmall(const QSize& size);

    // Why a file could not be written, in a few words.
    static QString saveReason(const FileError& error);
    // A calendar that was not saved, with the reason.
    static QString notSaved(const FileError& error);
    // A name the save dialog cannot save under, with the same reason.
    static QString cannotSaveThere(const FileError& error);
    // A save that would overwrite the photo the calendar is made of.
    static QString outputIsPhoto(const QString& path);
};
