#include "platform/metafile/MetafilePlayer_p.h"

#include "platform/base/Saturate.h"
#include "platform/metafile/RecordBounds_p.h"
#include "platform/text/GlyphPainter.h"

namespace platform {

namespace {

QPolygon ToInt(const QList<QPointF> &points)
{
    QPolygon polygon(int(points.size()));
    for (qsizetype i = 0; i < points.size(); ++i)
        polygon[int(i)] = DevicePoint(points[i]);
    return polygon;
}

} // namespace

MetafilePlayer::MetafilePlayer(QPainter &painter, QSize pageSize, const QRectF &target,
                               const std::optional<QRectF> &visible)
    : p_(painter), target_(target), visible_(visible)
{
    p_.save();
    initial_ = p_.transform();
    hadClip_ = p_.hasClipping();
    if (hadClip_)
        initialClip_ = p_.clipRegion();
    initialHints_ = p_.renderHints();
    const qreal sx = pageSize.width() > 0 ? target.width() / pageSize.width() : 1.0;
    const qreal sy = pageSize.height() > 0 ? target.height() / pageSize.height() : 1.0;
    base_ = QTransform(sx, 0, 0, sy, target.x(), target.y()) * initial_;
    world_ = base_;
    // A page starts from the painter defaults, whatever the target painter held.
    p_.setPen(QPen());
    p_.setBrush(QBrush());
    p_.setBrushOrigin(0, 0);
    p_.setBackground(Qt::white);
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.setOpacity(1.0);
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // A clip changes how Qt rasterises some thin lines, so the target clips only where it must.
    const QRectF device(0, 0, p_.device()->width(), p_.device()->height());
    clipToTarget_ = hadClip_ || !initial_.mapRect(target_).contains(device);
    if (clipToTarget_)
        p_.setClipRect(target_, Qt::IntersectClip);
    p_.setTransform(world_);
    transformSet_ = true;
    penSet_ = true;
}

MetafilePlayer::~MetafilePlayer()
{
    FlushText();
    p_.restore();
}

void MetafilePlayer::FlushText()
{
    if (!batchFace_)
        return;
    PaintGlyphs(p_, batchFace_, textColor_, world_, batchGlyphs_, batchPositions_, batchDecorations_, batchCodes_);
    transformSet_ = true; // PaintGlyphs leaves the transform at world_
    penSet_ = false;
    batchFace_.reset();
    batchGlyphs_.clear();
    batchPositions_.clear();
    batchDecorations_.clear();
    batchCodes_.clear();
}

void MetafilePlayer::UseDrawingState()
{
    if (!transformSet_) {
        p_.setTransform(world_);
        transformSet_ = true;
    }
    if (!penSet_) {
        p_.setPen(pen_);
        penSet_ = true;
    }
}

void MetafilePlayer::SetClip(const MetaRecord &r)
{
    // Back to the clip the painter came with and the target, then the page's own clip on top.
    p_.setTransform(initial_);
    if (hadClip_)
        p_.setClipRegion(initialClip_, Qt::ReplaceClip);
    else
        p_.setClipping(false);
    if (clipToTarget_)
        p_.setClipRect(target_, Qt::IntersectClip);
    p_.setTransform(base_);
    const std::optional<ClipMode> mode = ClipModeOf(r.value);
    if (mode == ClipMode::Rect)
        p_.setClipRect(r.rect, Qt::IntersectClip);
    else if (mode == ClipMode::Path)
        p_.setClipPath(r.path, Qt::IntersectClip);
    transformSet_ = false;
}

bool MetafilePlayer::OutsideVisible(const MetaRecord &r) const
{
    if (!visible_)
        return false;
    const std::optional<QRectF> bounds = DrawingBounds(r, pen_);
    if (!bounds)
        return false;
    // Cosmetic pens keep their width in device pixels whatever the scale.
    const qreal reach = 2 * pen_.widthF() + 2;
    const QRectF device = world_.mapRect(*bounds).adjusted(-reach, -reach, reach, reach);
    return !device.intersects(*visible_);
}

bool MetafilePlayer::Play(const MetaRecord &r)
{
    if (r.type == EmrExtTextOutW) {
        if (!r.face || r.glyphs.size() != r.positions.size())
            return false;
        // Passed over without ending the batch: the glyphs around it draw as they would.
        if (OutsideVisible(r))
            return true;
        if (batchFace_ != r.face)
            FlushText();
        batchFace_ = r.face;
        batchGlyphs_.append(r.glyphs);
        batchPositions_.append(r.positions);
        const QList<uint> codes = r.text.toUcs4();
        for (qsizetype i = 0; i < r.glyphs.size(); ++i)
            batchCodes_.append(codes.size() == r.glyphs.size() ? char32_t(codes[i]) : 0);
        if (r.value & (kTextUnderline | kTextStrikeOut)) {
            qreal width = 0;
            for (quint32 g : r.glyphs)
                width += r.face->Advance(quint16(g));
            AddDecorations(*r.face, r.origin, width * r.face->XScale(), r.value, batchDecorations_);
        }
        return true;
    }
    FlushText();
    switch (r.type) {
    case EmrHeader:
    case EmrSetTextColor:
        textColor_ = r.color;
        return true;
    case EmrSetBkColor:
        p_.setBackground(r.color);
        return true;
    case EmrSetBkMode:
        p_.setBackgroundMode(r.value == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
        return true;
    case EmrSetRop2:
        if (r.value < 0 || r.value > QPainter::RasterOp_NotDestination)
            return false;
        p_.setCompositionMode(QPainter::CompositionMode(r.value));
        return true;
    case RecSetRenderHints:
        p_.setRenderHints(QPainter::RenderHints(0xff), false);
        p_.setRenderHints(QPainter::RenderHints(r.value) | initialHints_, true);
        return true;
    case RecSetOpacity:
        p_.setOpacity(r.opacity);
        return true;
    case EmrSetWorldTransform:
        world_ = r.transform * base_;
        transformSet_ = false;
        return true;
    case EmrCreatePen:
    case EmrExtCreatePen:
        pen_ = r.pen;
        penSet_ = false;
        return true;
    case EmrCreateBrushIndirect:
    case EmrCreatePatternBrush:
        p_.setBrush(r.brush);
        return true;
    case EmrSetBrushOrgEx:
        p_.setBrushOrigin(r.point);
        return true;
    case EmrExtSelectClipRgn:
        if (!ClipModeOf(r.value))
            return false;
        SetClip(r);
        return true;
    default:
        break;
    }
    if (OutsideVisible(r))
        return true;
    UseDrawingState();
    switch (r.type) {
    case EmrPolygon: {
        const Qt::FillRule rule = r.value == Qt::WindingFill ? Qt::WindingFill : Qt::OddEvenFill;
        if (r.integer)
            p_.drawPolygon(ToInt(r.points), rule);
        else
            p_.drawPolygon(r.points.constData(), int(r.points.size()), rule);
        return true;
    }
    case EmrPolyline:
        if (r.integer)
            p_.drawPolyline(ToInt(r.points));
        else
            p_.drawPolyline(r.points.constData(), int(r.points.size()));
        return true;
    case EmrSetPixelV:
        if (r.integer)
            p_.drawPoints(ToInt(r.points));
        else
            p_.drawPoints(r.points.constData(), int(r.points.size()));
        return true;
    case EmrPolyPolyline:
        if (r.integer) {
            QList<QLine> lines(r.lines.size());
            for (qsizetype i = 0; i < r.lines.size(); ++i)
                lines[i] = QLine(DevicePoint(r.lines[i].p1()), DevicePoint(r.lines[i].p2()));
            p_.drawLines(lines);
        } else {
            p_.drawLines(r.lines.constData(), int(r.lines.size()));
        }
        return true;
    case EmrRectangle:
        if (r.integer && pen_.style() == Qt::NoPen) {
            // QPainter::fillRect reaches a recording engine as a whole-unit rectangle without a pen;
            // Qt fills such rectangles with other rounding than it draws them, so fill them again.
            const QBrush brush = p_.brush();
            for (const QRectF &rect : r.rects)
                p_.fillRect(DeviceRect(rect), brush);
        } else if (r.integer) {
            QList<QRect> rects(r.rects.size());
            for (qsizetype i = 0; i < r.rects.size(); ++i)
                rects[i] = DeviceRect(r.rects[i]);
            p_.drawRects(rects);
        } else {
            p_.drawRects(r.rects.constData(), int(r.rects.size()));
        }
        return true;
    case EmrEllipse:
        if (r.integer)
            p_.drawEllipse(DeviceRect(r.rect));
        else
            p_.drawEllipse(r.rect);
        return true;
    case EmrStrokeAndFillPath:
        p_.drawPath(r.path);
        return true;
    case RecTextPath:
        p_.fillPath(r.path, textColor_);
        return true;
    case EmrStretchDIBits:
        if (r.image.isNull())
            return false;
        p_.drawImage(r.rect, r.image, r.source, Qt::ImageConversionFlags(r.value));
        return true;
    case RecTiledImage:
        if (r.image.isNull())
            return false;
        p_.drawTiledPixmap(r.rect, QPixmap::fromImage(r.image), r.point);
        return true;
    default:
        return false;
    }
}

} // namespace platform
