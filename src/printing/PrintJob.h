// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class DrawingSurface;

// The printer's side of printing one page. Every kind of job keeps this
// contract, and the tests hold each kind to it:
//
// - setUpPage() and setCopyCount() come before begin(). The page is drawn
//   once; the printer makes the copies.
// - begin() opens the document and gives the surface to draw the page on, or
//   null when the printer will not start one; nothing has been sent then.
// - end() closes the document and hands it to the printer: true when the
//   printing system took it. With no document open it sends nothing and
//   returns false.
// - discard() closes an open document without handing it over, and does
//   nothing when none is open.
// - A job destroyed with its document still open discards it: a page is only
//   ever sent by end().
//
// Qt's print support cannot take back a document once a page was begun: its
// job hands over whatever was drawn even when discarded. The page is only
// discarded when it failed at its start, before anything was drawn.
class PrintJob {
public:
    virtual ~PrintJob() = default;

    // Portrait, so the page's twips count from the top-left corner of the
    // printable area of an upright sheet.
    virtual void setUpPage() = 0;
    virtual void setCopyCount(int copies) = 0;
    virtual DrawingSurface* begin(const QString& documentName) = 0;
    virtual bool end() = 0;
    virtual void discard() = 0;
};
