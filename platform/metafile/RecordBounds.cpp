#include "platform/metafile/RecordBounds_p.h"

#include <algorithm>

namespace platform {

namespace {

QRectF PointsBounds(const QList<QPointF> &points)
{
    if (points.isEmpty())
        return {};
    qreal left = points.front().x(), right = left, top = points.front().y(), bottom = top;
    for (const QPointF &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF Grown(const QRectF &r, qreal by)
{
    return r.normalized().adjusted(-by, -by, by, by);
}

// Half a pen's width is its reach past the geometry; miter joins and square caps reach further,
// so twice the width is allowed, and a unit more for whole-unit rounding.
qreal PenReach(const QPen &pen)
{
    return pen.style() == Qt::NoPen ? 1 : 2 * pen.widthF() + 1;
}

QRectF TextBounds(const MetaRecord &r)
{
    // The origin with the glyph positions, without copying them.
    QRectF at(r.origin, QSizeF());
    if (!r.positions.isEmpty()) {
        const QRectF glyphs = PointsBounds(r.positions);
        at = QRectF(QPointF(std::min(glyphs.left(), at.left()), std::min(glyphs.top(), at.top())),
                    QPointF(std::max(glyphs.right(), at.right()), std::max(glyphs.bottom(), at.bottom())));
    }
    // A glyph's outline, accents and decoration bars stay within a few ems of its baseline point.
    const FontFace &face = *r.face;
    const qreal em = std::max<qreal>(face.PixelSize(), face.AscentF() + face.DescentF());
    return Grown(at, 3 * em * std::max<qreal>(1, face.XScale()));
}

} // namespace

std::optional<QRectF> DrawingBounds(const MetaRecord &r, const QPen &pen)
{
    switch (r.type) {
    case EmrExtTextOutW:
        if (!r.face)
            return std::nullopt;
        return TextBounds(r);
    case EmrPolygon:
    case EmrPolyline:
    case EmrSetPixelV:
        return Grown(PointsBounds(r.points), PenReach(pen));
    case EmrPolyPolyline: {
        QList<QPointF> ends;
        ends.reserve(r.lines.size() * 2);
        for (const QLineF &line : r.lines)
            ends << line.p1() << line.p2();
        return Grown(PointsBounds(ends), PenReach(pen));
    }
    case EmrRectangle: {
        // Corners rather than a union of rectangles: an empty rectangle still draws its outline.
        QList<QPointF> corners;
        corners.reserve(r.rects.size() * 2);
        for (const QRectF &rect : r.rects)
            corners << rect.topLeft() << rect.bottomRight();
        return Grown(PointsBounds(corners), PenReach(pen));
    }
    case EmrEllipse:
        return Grown(r.rect, PenReach(pen));
    case EmrStrokeAndFillPath:
        return Grown(r.path.controlPointRect(), PenReach(pen));
    case RecTextPath:
        return Grown(r.path.controlPointRect(), 1);
    case EmrStretchDIBits:
    case RecTiledImage:
        return Grown(r.rect, 1);
    default:
        return std::nullopt;
    }
}

} // namespace platform
