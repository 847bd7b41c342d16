#pragma once
// The canvas that records the page being laid out: a painter on the model's current page
// picture and the font selected into it. All measuring and drawing of a page build goes
// through it, so every device unit is one of the page picture (96 dpi, 1429 x 2000).
#include "platform/metafile/PageMetafile.h"
#include "platform/text/DrawText.h"

#include <QPainter>
#include <QString>

class TPageCanvas {
public:
    // Starts recording on page, with a clear (transparent) brush.
    explicit TPageCanvas(platform::PageMetafile &page);
    // Ends the recording.
    ~TPageCanvas();
    TPageCanvas(const TPageCanvas &) = delete;
    TPageCanvas &operator=(const TPageCanvas &) = delete;

    QPainter &Painter() { return painter_; }
    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }

    // The font stays selected until another one is; it must outlive its selection.
    void SelectFont(const platform::TFont &font) { font_ = &font; }
    const platform::TFont &Font() const { return *font_; }
    // Goes back to the system font when font is the one selected (it is about to go away).
    void Deselect(const platform::TFont &font);

    // DrawTextEx in the selected font (with DT_CALCRECT it only measures).
    int DrawText(const QString &text, platform::TRect &rect, unsigned format)
    {
        return platform::DrawTextEx(&painter_, *font_, text, rect, format);
    }
    // The height DrawText with DT_CALCRECT would answer for text width wide.
    int TextHeight(const QString &text, int width, unsigned format) const
    {
        return platform::TextHeight(*font_, text, width, format);
    }
    // Width of one line of text in the selected font.
    int TextWidth(const QString &text) const { return font_->TextWidth(text); }

private:
    QPainter painter_;
    const platform::TFont *font_; // the system font until a style's font is selected
    int dpiX_;
    int dpiY_;
};
