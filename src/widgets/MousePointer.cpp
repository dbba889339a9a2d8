// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/MousePointer.h"

#include <QApplication>
#include <QCursor>

namespace {
void setPointer(Qt::CursorShape shape) {
    // One application-wide pointer, not a stack of them.
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    QApplication::setOverrideCursor(QCursor(shape));
}
} // namespace

void MousePointer::hourglass() {
    setPointer(Qt::WaitCursor);
}

void MousePointer::arrow() {
    setPointer(Qt::ArrowCursor);
}
