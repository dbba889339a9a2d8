#pragma once

#include <QImage>

struct PageContent;

// Draws the calendar page into pic, which the caller has made
// (770 x 1100) x sizeFactor pixels and filled with the background colour.
void RenderCalendarBitmap(QImage& pic, const PageContent& content, int sizeFactor);
