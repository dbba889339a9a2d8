// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/RenderCalendarBitmap.h"

#include "drawing/PageComposer.h"
#include "drawing/PageGeometry.h"
#include "drawing/PageStyle.h"
#include "drawing/PictureSurface.h"
#include "drawing/Twips.h"

QImage RenderCalendarBitmap(const PageContent& content, int sizeFactor) {
    QImage page(Twips::toPixels(PageGeometry::widthTwips * sizeFactor),
                Twips::toPixels(PageGeometry::heightTwips * sizeFactor), QImage::Format_RGB32);
    page.fill(Qt::white);
    PictureSurface surface(page);
    PageComposer::compose(surface, content, PageStyle::bitmap(sizeFactor));
    return page;
}
