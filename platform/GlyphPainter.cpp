#include "platform/GlyphPainter.h"

#include "platform/PageMetafile.h"

#include <QGlyphRun>
#include <QPainter>

namespace platform {

void NaturalPositions(const FontFace &face, QPointF origin, const quint32 *glyphs, qsizetype count,
                      QList<QPointF> &positions)
{
    positions.resize(count);
    const qreal xs = face.XScale();
    qreal advance = 0;
    for (qsizetype i = 0; i < count; ++i) {
        positions[i] = QPointF(origin.x() + advance * xs, origin.y());
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

void PaintGlyphs(QPainter &painter, const FontFace &face, const QColor &color, const QTransform &world,
                 const QList<quint32> &glyphs, const QList<QPointF> &positions,
                 const QList<QRectF> &decorations)
{
    const qreal xs = face.XScale();
    painter.setPen(QPen(color));
    if (!glyphs.isEmpty() && face.RawFont().isValid()) {
        QGlyphRun run;
        run.setRawFont(face.RawFont());
        run.setGlyphIndexes(glyphs);
        if (xs == 1.0) {
            painter.setTransform(world);
            run.setPositions(positions);
        } else {
            // The stretch is a transform, so glyph shapes and positions scale together at any zoom.
            QList<QPointF> scaled(positions.size());
            for (qsizetype i = 0; i < positions.size(); ++i)
                scaled[i] = QPointF(positions[i].x() / xs, positions[i].y());
            painter.setTransform(QTransform::fromScale(xs, 1.0) * world);
            run.setPositions(scaled);
        }
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.setTransform(world);
    for (const QRectF &r : decorations)
        painter.fillRect(r, color);
}

} // namespace platform
