#include "core/PageCanvas.h"

namespace {

const platform::TFont &SystemFont()
{
    static const platform::TFont font;
    return font;
}

} // namespace

TPageCanvas::TPageCanvas(platform::PageMetafile &page)
    : painter_(&page), font_(&SystemFont()), dpiX_(page.logicalDpiX()), dpiY_(page.logicalDpiY())
{
    painter_.setBrush(Qt::NoBrush);
}

TPageCanvas::~TPageCanvas()
{
    painter_.end();
}

void TPageCanvas::Deselect(const platform::TFont &font)
{
    if (font_ == &font)
        font_ = &SystemFont();
}
