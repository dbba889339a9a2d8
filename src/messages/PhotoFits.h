// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawing/PhotoPlacement.h"

#include <QList>
#include <QString>
#include <optional>

// The ways a photo goes into its frame as the person names them: the one
// table that the window's menu, ostrabel-cli's option, its help and its usage
// error read. A new way is a row here (and its placement in PhotoPlacement).
class PhotoFits {
public:
    struct Way {
        PhotoFit fit;
        QString word;        // as --foto-passen takes it
        QString menuText;    // in the photo area's menu
        QString explanation; // what it does, for the help
    };

    // The first is the way a new page starts with.
    static const QList<Way>& all();
    // By its word, in any case.
    static std::optional<PhotoFit> named(const QString& word);
    static const Way& of(PhotoFit fit);
    static QStringList words();
};
