#pragma once
// The glyphs of the viewer's two jump buttons, drawn here rather than loaded from resources.
#include <QImage>

// GRIDHDR_TOP: 10 x 9, black on white, a triangle pointing up between two horizontal bars.
QImage GridHdrTopGlyph();
// GRIDHDR_BOTTOM: the same, pointing down.
QImage GridHdrBottomGlyph();
