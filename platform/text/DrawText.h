#pragma once
// Formatted text as GDI's DrawTextEx lays it out: lines, word wrap, alignment, ellipsis, clipping.
#include "platform/text/GdiFont.h"

#include <QString>

class QPainter;

namespace platform {

inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_WORDBREAK = 0x10;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_NOCLIP = 0x100;
inline constexpr unsigned DT_CALCRECT = 0x400;
inline constexpr unsigned DT_NOPREFIX = 0x800;
inline constexpr unsigned DT_EDITCONTROL = 0x2000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// A rectangle as GDI keeps it: right and bottom are the first column and row outside.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect &) const = default;
};

// Draws text into rect in the font's colour, or with DT_CALCRECT only measures it: the right edge is set
// to bound the widest line, the bottom to bound the last line, and nothing is drawn (painter may be
// null). Lines break at CR, LF and CR LF unless DT_SINGLELINE (which draws them as nothing); DT_WORDBREAK
// wraps at blanks, and a word wider than the rectangle overflows or, with DT_EDITCONTROL, breaks at the last
// character that fits. Without DT_NOPREFIX "&&" draws "&" and a single "&" is dropped (no mnemonic
// underline). Empty text is one empty line. Clipped multi-line text stops after the last line inside the
// rectangle, and with DT_EDITCONTROL before a partly visible one. Returns the height of the text (lines times
// the font's height); with DT_BOTTOM or DT_VCENTER (single line) the offset from rect's top to the bottom of
// the drawn text. On a page metafile the text is recorded as glyph runs.
int DrawTextEx(QPainter *painter, const TFont &font, const QString &text, TRect &rect, unsigned format);

// The height DrawTextEx with DT_CALCRECT answers for text in a rectangle width wide, found without
// wrapping the paragraphs that fit on one line.
int TextHeight(const TFont &font, const QString &text, int width, unsigned format);

} // namespace platform
