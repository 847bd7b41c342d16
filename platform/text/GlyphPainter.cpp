#include "platform/text/GlyphPainter.h"

#include "platform/text/GlyphRecorder.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace platform {

namespace {

// Qt draws a glyph through the font engine's image cache whenever its area on the device is small
// (pixel size times the square root of the transform's determinant under 64), however long it is.
// A glyph stretched hundreds of pixels one way and under one the other overflows FreeType's
// rasteriser, and Qt then reads the glyph image that was never made. Past this length on the
// device, such glyphs are filled as outlines instead, which has no size limit.
constexpr qreal kMaxCachedGlyphLength = 256;
constexpr qreal kQtMaxCachedGlyphSize = 64;

bool EngineCannotRender(const QTransform &device, qreal pixelSize)
{
    const qreal area = pixelSize * pixelSize * std::abs(device.determinant());
    if (!(area < kQtMaxCachedGlyphSize * kQtMaxCachedGlyphSize))
        return false; // Qt fills the outline itself
    const qreal across = pixelSize * std::hypot(device.m11(), device.m12());
    const qreal down = pixelSize * std::hypot(device.m21(), device.m22());
    return !(across <= kMaxCachedGlyphLength && down <= kMaxCachedGlyphLength);
}

} // namespace

void NaturalPositions(const FontFace &face, QPointF origin, const quint32 *glyphs, qsizetype count,
                      QList<QPointF> &positions)
{
    positions.resize(count);
    QPointF *at = positions.data();
    const qreal xs = face.XScale();
    qreal advance = 0;
    for (qsizetype i = 0; i < count; ++i) {
        at[i] = QPointF(origin.x() + advance * xs, origin.y());
        advance += face.Advance(quint16(glyphs[i]));
    }
}

void AddDecorations(const FontFace &face, QPointF origin, qreal width, int flags, QList<QRectF> &rects)
{
    if (width <= 0)
        return;
    const qreal thickness = face.LineThickness();
    if (flags & kTextUnderline)
        rects.append(QRectF(origin.x(), origin.y() + face.UnderlinePosition(), width, thickness));
    if (flags & kTextStrikeOut) {
        const qreal y = origin.y() - face.AscentF() * 0.3;
        rects.append(QRectF(origin.x(), y - thickness / 2, width, thickness));
    }
}

void PaintGlyphs(QPainter &painter, const std::shared_ptr<const FontFace> &facePtr, const QColor &color,
                 const QTransform &world, const QList<quint32> &glyphs, const QList<QPointF> &positions,
                 const QList<QRectF> &decorations, const QList<char32_t> &codes)
{
    if (GlyphRecorder *recorder = GlyphRecorder::From(&painter)) {
        painter.setTransform(world);
        recorder->RecordPositionedText(facePtr, color, glyphs, positions, decorations, codes);
        return;
    }
    const FontFace &face = *facePtr;
    const qreal xs = face.XScale();
    painter.setPen(QPen(color));
    if (!glyphs.isEmpty() && face.RawFont().isValid()) {
        // Blanks are left out: they draw nothing, and every glyph costs (PDF writes each one).
        QList<quint32> shown;
        QList<QPointF> at;
        shown.reserve(glyphs.size());
        at.reserve(glyphs.size());
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (face.IsBlank(quint16(glyphs[i])))
                continue;
            shown.append(glyphs[i]);
            // The stretch is a transform, so glyph shapes and positions scale together at any zoom.
            at.append(xs == 1.0 ? positions[i] : QPointF(positions[i].x() / xs, positions[i].y()));
        }
        if (!shown.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(face.RawFont());
            run.setGlyphIndexes(shown);
            run.setPositions(at);
            painter.setTransform(xs == 1.0 ? world : QTransform::fromScale(xs, 1.0) * world);
            if (EngineCannotRender(painter.deviceTransform(), face.RawFont().pixelSize())) {
                QPainterPath outlines;
                for (qsizetype i = 0; i < shown.size(); ++i)
                    outlines.addPath(face.RawFont().pathForGlyph(shown[i]).translated(at[i]));
                painter.fillPath(outlines, color);
            } else {
                painter.drawGlyphRun(QPointF(0, 0), run);
            }
        }
    }
    painter.setTransform(world);
    for (const QRectF &r : decorations)
        painter.fillRect(r, color);
}

} // namespace platform
