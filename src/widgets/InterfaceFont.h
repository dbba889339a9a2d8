// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The small interface font both windows were laid out with; a larger desktop
// default would cut their captions off.
QFont interfaceFont();
