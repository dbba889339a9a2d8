// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/DayNames.h"
#include "drawing/PhotoPlacement.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

// Everything the user chose for one calendar page, gathered from the main
// window when a command runs, so the page can be drawn without any widget.
struct PageContent {
    QString headerLeft;
    QString headerRight;
    QString footerLeft;
    QString footerRight;
    QImage photo; // null when no photo has been loaded
    qint32 year = 2005;
    // The file the photo was read from, so that no save replaces it.
    QString photoFile = {};
    PhotoFit photoFit = PhotoFit::Stretch;
    // The part that fills the frame when cropping, in fractions of the photo.
    QRectF photoCrop = PhotoPlacement::wholePhoto;
    // The calendar's own options; with all of them off the page is the one it
    // has always been.
    WeekStart weekStart = WeekStart::Sunday;
    bool weekNumbers = false; // ISO 8601, beside each week row
    bool holidays = false;    // the Dutch public holidays in the weekend red
};
