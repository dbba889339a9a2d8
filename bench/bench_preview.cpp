// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the preview, from the load step to the window shown, at both sizes.
// Prints figures; never fails on speed.
#include "preview/Voorbeeld.h"
#include "widgets/CommonDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CommonDialog dialog;
    PageContent content;
    content.headerLeft = QStringLiteral("Koptekst links");
    content.headerRight = QStringLiteral("Koptekst rechts");
    content.footerLeft = QStringLiteral("Voettekst links");
    content.footerRight = QStringLiteral("Voettekst rechts");
    content.photo = QImage(4080, 2760, QImage::Format_RGB32);
    content.photo.fill(QColor(40, 120, 60));
    content.year = 2005;

    for (int sizeFactor : {1, 2}) {
        std::vector<double> times;
        for (int run = 0; run < 9; ++run) {
            QElapsedTimer clock;
            clock.start();
            Voorbeeld preview(content, sizeFactor, dialog);
            preview.show();
            if (!QTest::qWaitForWindowExposed(&preview)) {
                return 1;
            }
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        std::printf("preview %s (%dx%d), load step to visible: median %.1f ms (min %.1f)\n",
                    sizeFactor == 1 ? "Klein" : "Groot", 770 * sizeFactor, 1100 * sizeFactor,
                    times[times.size() / 2], times.front());
    }
    return 0;
}
