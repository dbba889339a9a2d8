// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

struct PageContent;

// The bitmap page: (770 x 1100) x sizeFactor pixels. The page is paper, so
// it is white whatever colours the desktop uses.
QImage RenderCalendarBitmap(const PageContent& content, int sizeFactor);
