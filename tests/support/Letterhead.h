#pragma once
// A letterhead for the tests of drawings that many pages share: its records cost far more than a
// page's own, and it sets every part of the painter's state it uses within save and restore.
#include <QPainter>
#include <QRectF>

namespace wydtest {

// Where the letterhead goes on a page at 180 dpi: across the top.
inline const QRectF kLetterheadPlace(0, 0, 1429, 160);

// A clip, a frame filled with the given brush from its own brush origin, a small picture, a wave
// of many points (most of the bytes) and a line of text.
void DrawLetterhead(QPainter &p, const QRectF &target, Qt::BrushStyle frame = Qt::DiagCrossPattern);

} // namespace wydtest
