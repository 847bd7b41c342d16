#pragma once
// Measures or draws an RTF text into a rectangle of the page canvas, continuing from a given
// character, magnified by the page zoom.
#include <QByteArray>

class QPainter;

namespace platform {

// A rectangle in device units of the canvas: left, top, right, bottom.
struct RichTextRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Lays the text out at screen scale (one logical unit = zoom device units) from character
// *position (0 when position is null) into rect, drawing it when render is true. Returns the
// height used in device units; 0 for an empty text. *position becomes the first character that
// did not fit, or 0 when everything fitted, on failure, or when nothing could be laid out past
// the given position (a line or picture taller than the rectangle), so continuation always ends.
// The canvas's state is restored on every path.
int DrawRichText(QPainter &canvas, const RichTextRect &rect, const QByteArray &text, int *position, float zoom,
                 bool render);

} // namespace platform
