// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintJob.h"
#include "support/RecordingSurface.h"

// A printer that writes down what the page asks of it, each step with the
// number of drawing operations done before it, and the copies of each job
// it takes.
class RecordingJob : public PrintJob {
public:
    RecordingSurface surface;
    QStringList steps;
    bool refuseStart = false;
    bool refuseJob = false;
    QList<int>* taken = nullptr;

    void setUpPage() override { note(QStringLiteral("set-up")); }
    void setCopyCount(int copies) override {
        note(QStringLiteral("copies %1").arg(m_copies = copies));
    }
    DrawingSurface* begin(const QString& documentName) override {
        note(QStringLiteral("begin ") + documentName);
        return refuseStart ? nullptr : &surface;
    }
    bool end() override {
        note(QStringLiteral("end"));
        if (taken != nullptr && !refuseJob)
            *taken << m_copies;
        return !refuseJob;
    }
    void discard() override { note(QStringLiteral("discard")); }
    void note(const QString& step) {
        steps << QStringLiteral("%1 @%2").arg(step).arg(surface.ops.size());
    }

private:
    int m_copies = 0;
};
