#pragma once

#include <QString>
#include <QtGlobal>

class DrawingSurface;

// The printer's side of printing one page, in the order the page needs it:
// set-up and copies first, then the document is opened and drawn on, then
// ended. Kept apart from the page so the order can be checked without paper.
class PrintJob {
public:
    virtual ~PrintJob() = default;

    // The one page set-up value: portrait, so the page's twips count from the
    // top-left corner of the printable area of an upright sheet.
    virtual void setUpPage() = 0;
    // The printer makes the copies; the page is drawn once.
    virtual void setCopyCount(qint16 copies) = 0;
    // Opens the document under this name. Null when the printer will not
    // start it; nothing has been sent then.
    virtual DrawingSurface* begin(const QString& documentName) = 0;
    // Ends the document: the page goes to the printer. False when the printer
    // refused the finished job; nothing has been queued then.
    virtual bool end() = 0;
    // Drops an opened document without sending the page.
    virtual void discard() = 0;
};
