#pragma once
// The hidden rich-edit control: holds an RTF text and formats a character range of it into a
// rectangle of a canvas, drawing or only measuring, with the semantics of EM_FORMATRANGE.
#include <QByteArray>
#include <memory>

class QPainter;

namespace platform {

namespace rtf {
class RichTextLayout;
}

// A rectangle in twips of the canvas's resolution (1440 twips per logical inch).
struct TwipsRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct FormatRangeResult {
    int Answer = 0;         // the first character that did not fit; the text length when all fitted
    int FirstNotFitted = 0; // the same, but 0 when everything fitted
    int BottomTwips = 0;    // the bottom of what was laid out (the rectangle's top when nothing was)
};

class TRichEditBox {
public:
    TRichEditBox();
    ~TRichEditBox();
    TRichEditBox(const TRichEditBox &) = delete;
    TRichEditBox &operator=(const TRichEditBox &) = delete;

    // Loads the text as RTF; it is read when it is first formatted.
    void LoadRtf(const QByteArray &rtf);

    // Characters in the text (paragraph marks count one each, the final one not at all).
    int TextLength();

    // Lays whole lines out from character `first` into rc: on the canvas when render is true,
    // otherwise only measuring. rc is in twips of the canvas device's resolution, converted to
    // the painter's current logical units.
    FormatRangeResult FormatRange(QPainter &canvas, const TwipsRect &rc, int first, bool render);

    // Drops the formatting kept from the last FormatRange.
    void ReleaseFormatting();

private:
    QByteArray rtf_;
    std::shared_ptr<const rtf::RichTextLayout> layout_;
};

} // namespace platform
