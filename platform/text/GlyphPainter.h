#pragma once
// The one way page text reaches a painter: glyphs of a face at given positions, stretched by the
// face's scale. Direct drawing and metafile playback share it so that both give the same pixels.
#include "platform/text/GdiFont.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>

class QPainter;
class QTransform;

namespace platform {

// Text flags of a run: its decorations.
inline constexpr int kTextUnderline = 1;
inline constexpr int kTextStrikeOut = 2;

// Baseline positions of glyphs laid one after another with the face's advances from origin.
void NaturalPositions(const FontFace &face, QPointF origin, const quint32 *glyphs, qsizetype count,
                      QList<QPointF> &positions);

// Underline and strike-out bars (text flags) of a run of text.
void AddDecorations(const FontFace &face, QPointF origin, qreal width, int flags, QList<QRectF> &rects);

// Draws glyphs at positions (logical units) under world in color, then the decoration bars. Leaves
// the painter's transform at world and its pen changed. On a page metafile (one page played into
// another) the glyphs stay text records, with their characters when codes gives one a glyph.
void PaintGlyphs(QPainter &painter, const std::shared_ptr<const FontFace> &face, const QColor &color,
                 const QTransform &world, const QList<quint32> &glyphs, const QList<QPointF> &positions,
                 const QList<QRectF> &decorations, const QList<char32_t> &codes = {});

} // namespace platform
