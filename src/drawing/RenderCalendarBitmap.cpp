#include "drawing/RenderCalendarBitmap.h"

#include "drawing/PageComposer.h"
#include "drawing/PageStyle.h"
#include "drawing/PictureSurface.h"

void RenderCalendarBitmap(QImage& pic, const PageContent& content, int sizeFactor) {
    PictureSurface surface(pic);
    PageComposer::compose(surface, content, PageStyle::bitmap(sizeFactor));
}
