// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A file's name is bytes to the system, and not always UTF-8 (an old
// Latin-1 name, a name made by a script). The program carries names in
// QStrings that keep every byte: a byte that is not part of valid UTF-8
// becomes the lone surrogate U+DC80 + byte, and turns back into that byte on
// the way to the system. Qt's own conversions would put U+FFFD in its place
// and lose it.
class FileName {
public:
    static QString fromNative(const QByteArray& bytes);
    static QByteArray toNative(const QString& name);

    // A name as Qt's file dialog or a dropped URL hands it over, where bytes
    // that are not UTF-8 became U+FFFD: the name on disk it stands for, found
    // folder by folder, when exactly one fits. Otherwise the name unchanged.
    static QString recovered(const QString& shown);

    // For a window's message: a kept byte shown as U+FFFD.
    static QString shown(const QString& name);
};
