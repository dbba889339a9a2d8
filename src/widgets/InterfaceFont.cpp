// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/InterfaceFont.h"

QFont interfaceFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}
