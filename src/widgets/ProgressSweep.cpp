// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ProgressSweep.h"

#include "widgets/LineControl.h"
#include "widgets/MousePointer.h"
#include "widgets/Pause.h"

#include <QPointer>

void ProgressSweep(LineControl& bar) {
    // The pauses run the window's events, Exit included: should the window and
    // its bar go away meanwhile, the sweep stops instead of touching them.
    const QPointer<LineControl> guarded(&bar);
    MousePointer::hourglass();
    bar.show();
    for (int y = Sweep::first; y <= Sweep::last && guarded; y += Sweep::step) {
        guarded->setPoints(0, y, Sweep::width, y);
        Pause(Sweep::pauseSeconds);
    }
    if (guarded) {
        guarded->hide();
    }
    MousePointer::arrow();
}
