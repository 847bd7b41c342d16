#include "platform/metafile/RecordCodec_p.h"

namespace platform {

namespace {

void PutRect(RecordWriter &w, const QRectF &r)
{
    w.Put(r.x());
    w.Put(r.y());
    w.Put(r.width());
    w.Put(r.height());
}

QRectF GetRect(RecordReader &r)
{
    const double x = r.Get<double>(), y = r.Get<double>(), w = r.Get<double>(), h = r.Get<double>();
    return QRectF(x, y, w, h);
}

void PutPoints(MetafileData &data, int type, const QList<QPointF> &points, bool withRule, int rule, bool integer)
{
    RecordWriter w(data, type, 1 + (withRule ? 4 : 0) + 4 + points.size() * 16);
    w.Put(quint8(integer));
    if (withRule)
        w.Put(qint32(rule));
    w.Put(quint32(points.size()));
    for (const QPointF &p : points) {
        w.Put(p.x());
        w.Put(p.y());
    }
}

bool GetPoints(RecordReader &r, QList<QPointF> &points)
{
    const quint32 n = r.Get<quint32>();
    if (!r.Ok() || qsizetype(n) * 16 > r.Remaining())
        return false;
    points.resize(n);
    for (quint32 i = 0; i < n; ++i) {
        const double x = r.Get<double>(), y = r.Get<double>();
        points[i] = QPointF(x, y);
    }
    return r.Ok();
}

template <typename T> bool GetIndexed(RecordReader &r, const QList<T> &table, T &out)
{
    const quint32 i = r.Get<quint32>();
    if (!r.Ok() || i >= quint32(table.size()))
        return false;
    out = table[i];
    return true;
}

} // namespace

bool IsPlainPen(const QPen &pen)
{
    return pen.brush().style() == Qt::SolidPattern && pen.brush().transform().isIdentity() &&
           pen.style() != Qt::CustomDashLine && pen.miterLimit() == 2.0 && pen.dashOffset() == 0.0;
}

bool IsPlainBrush(const QBrush &brush)
{
    const Qt::BrushStyle s = brush.style();
    return s <= Qt::DiagCrossPattern && brush.transform().isIdentity();
}

void EncodeRecord(MetafileData &data, const MetaRecord &rec)
{
    switch (rec.type) {
    case EmrSetTextColor:
    case EmrSetBkColor: {
        RecordWriter w(data, rec.type, 4);
        w.Put(quint32(rec.color.rgba()));
        break;
    }
    case EmrSetBkMode:
    case EmrSetRop2:
    case RecSetRenderHints: {
        RecordWriter w(data, rec.type, 4);
        w.Put(qint32(rec.value));
        break;
    }
    case RecSetOpacity: {
        RecordWriter w(data, rec.type, 8);
        w.Put(double(rec.opacity));
        break;
    }
    case EmrSetBrushOrgEx: {
        RecordWriter w(data, rec.type, 16);
        w.Put(rec.point.x());
        w.Put(rec.point.y());
        break;
    }
    case EmrSetWorldTransform: {
        RecordWriter w(data, rec.type, 72);
        const QTransform &t = rec.transform;
        for (double v : {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()})
            w.Put(v);
        break;
    }
    case EmrCreatePen: {
        RecordWriter w(data, rec.type, 4 + 8 + 2 + 2 + 2 + 1);
        w.Put(quint32(rec.pen.color().rgba()));
        w.Put(double(rec.pen.widthF()));
        w.Put(quint16(rec.pen.style()));
        w.Put(quint16(rec.pen.capStyle()));
        w.Put(quint16(rec.pen.joinStyle()));
        w.Put(quint8(rec.pen.isCosmetic()));
        break;
    }
    case EmrExtCreatePen: {
        RecordWriter w(data, rec.type, 4);
        w.Put(quint32(data.pens.size()));
        data.pens.append(rec.pen);
        break;
    }
    case EmrCreateBrushIndirect: {
        RecordWriter w(data, rec.type, 5);
        w.Put(quint32(rec.brush.color().rgba()));
        w.Put(quint8(rec.brush.style()));
        break;
    }
    case EmrCreatePatternBrush: {
        RecordWriter w(data, rec.type, 4);
        w.Put(quint32(data.brushes.size()));
        data.brushes.append(rec.brush);
        break;
    }
    case EmrExtSelectClipRgn: {
        const std::optional<ClipMode> mode = ClipModeOf(rec.value);
        RecordWriter w(data, rec.type, mode == ClipMode::Rect ? 4 + 32 : mode == ClipMode::Path ? 8 : 4);
        w.Put(qint32(rec.value));
        if (mode == ClipMode::Rect) {
            PutRect(w, rec.rect);
        } else if (mode == ClipMode::Path) {
            w.Put(quint32(data.paths.size()));
            data.paths.append(rec.path);
        }
        break;
    }
    case EmrPolygon:
        PutPoints(data, rec.type, rec.points, true, rec.value, rec.integer);
        break;
    case EmrPolyline:
    case EmrSetPixelV:
        PutPoints(data, rec.type, rec.points, false, 0, rec.integer);
        break;
    case EmrPolyPolyline: {
        RecordWriter w(data, rec.type, 1 + 4 + rec.lines.size() * 32);
        w.Put(quint8(rec.integer));
        w.Put(quint32(rec.lines.size()));
        for (const QLineF &l : rec.lines) {
            w.Put(l.x1());
            w.Put(l.y1());
            w.Put(l.x2());
            w.Put(l.y2());
        }
        break;
    }
    case EmrRectangle: {
        RecordWriter w(data, rec.type, 1 + 4 + rec.rects.size() * 32);
        w.Put(quint8(rec.integer));
        w.Put(quint32(rec.rects.size()));
        for (const QRectF &r : rec.rects)
            PutRect(w, r);
        break;
    }
    case EmrEllipse: {
        RecordWriter w(data, rec.type, 1 + 32);
        w.Put(quint8(rec.integer));
        PutRect(w, rec.rect);
        break;
    }
    case EmrStrokeAndFillPath:
    case RecTextPath: {
        RecordWriter w(data, rec.type, 4);
        w.Put(quint32(data.paths.size()));
        data.paths.append(rec.path);
        break;
    }
    case EmrStretchDIBits: {
        RecordWriter w(data, rec.type, 32 + 32 + 4 + 4);
        PutRect(w, rec.rect);
        PutRect(w, rec.source);
        w.Put(quint32(data.images.size()));
        w.Put(qint32(rec.value));
        data.images.append(rec.image);
        break;
    }
    case RecTiledImage: {
        RecordWriter w(data, rec.type, 32 + 16 + 4);
        PutRect(w, rec.rect);
        w.Put(rec.point.x());
        w.Put(rec.point.y());
        w.Put(quint32(data.images.size()));
        data.images.append(rec.image);
        break;
    }
    default:
        break; // text has its own encoder; the header is not stored
    }
}

bool DecodeRecord(const MetafileData &data, RecordReader &r, MetaRecord &rec)
{
    rec.type = r.Type();
    switch (rec.type) {
    case EmrSetTextColor:
    case EmrSetBkColor:
        rec.color = QColor::fromRgba(r.Get<quint32>());
        return r.Ok();
    case EmrSetBkMode:
    case EmrSetRop2:
    case RecSetRenderHints:
        rec.value = r.Get<qint32>();
        return r.Ok();
    case RecSetOpacity:
        rec.opacity = r.Get<double>();
        return r.Ok();
    case EmrSetBrushOrgEx: {
        const double x = r.Get<double>(), y = r.Get<double>();
        rec.point = QPointF(x, y);
        return r.Ok();
    }
    case EmrSetWorldTransform: {
        double m[9];
        for (double &v : m)
            v = r.Get<double>();
        rec.transform = QTransform(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]);
        return r.Ok();
    }
    case EmrCreatePen: {
        const QColor c = QColor::fromRgba(r.Get<quint32>());
        const double width = r.Get<double>();
        const quint16 style = r.Get<quint16>(), cap = r.Get<quint16>(), join = r.Get<quint16>();
        const quint8 cosmetic = r.Get<quint8>();
        if (!r.Ok() || style > Qt::DashDotDotLine)
            return false;
        rec.pen = QPen(QBrush(c), width, Qt::PenStyle(style), Qt::PenCapStyle(cap & Qt::MPenCapStyle),
                       Qt::PenJoinStyle(join & Qt::MPenJoinStyle));
        rec.pen.setCosmetic(cosmetic != 0);
        return true;
    }
    case EmrExtCreatePen:
        return GetIndexed(r, data.pens, rec.pen);
    case EmrCreateBrushIndirect: {
        const QColor c = QColor::fromRgba(r.Get<quint32>());
        const quint8 style = r.Get<quint8>();
        if (!r.Ok() || style > Qt::DiagCrossPattern)
            return false;
        rec.brush = QBrush(c, Qt::BrushStyle(style));
        return true;
    }
    case EmrCreatePatternBrush:
        return GetIndexed(r, data.brushes, rec.brush);
    case EmrExtSelectClipRgn: {
        rec.value = r.Get<qint32>();
        const std::optional<ClipMode> mode = ClipModeOf(rec.value);
        if (mode == ClipMode::Rect)
            rec.rect = GetRect(r);
        else if (mode == ClipMode::Path)
            return GetIndexed(r, data.paths, rec.path);
        return r.Ok() && mode.has_value();
    }
    case EmrPolygon:
        rec.integer = r.Get<quint8>() != 0;
        rec.value = r.Get<qint32>();
        return GetPoints(r, rec.points);
    case EmrPolyline:
    case EmrSetPixelV:
        rec.integer = r.Get<quint8>() != 0;
        return GetPoints(r, rec.points);
    case EmrPolyPolyline: {
        rec.integer = r.Get<quint8>() != 0;
        const quint32 n = r.Get<quint32>();
        if (!r.Ok() || qsizetype(n) * 32 > r.Remaining())
            return false;
        rec.lines.resize(n);
        for (quint32 i = 0; i < n; ++i) {
            const double x1 = r.Get<double>(), y1 = r.Get<double>(), x2 = r.Get<double>(), y2 = r.Get<double>();
            rec.lines[i] = QLineF(x1, y1, x2, y2);
        }
        return r.Ok();
    }
    case EmrRectangle: {
        rec.integer = r.Get<quint8>() != 0;
        const quint32 n = r.Get<quint32>();
        if (!r.Ok() || qsizetype(n) * 32 > r.Remaining())
            return false;
        rec.rects.resize(n);
        for (quint32 i = 0; i < n; ++i)
            rec.rects[i] = GetRect(r);
        return r.Ok();
    }
    case EmrEllipse:
        rec.integer = r.Get<quint8>() != 0;
        rec.rect = GetRect(r);
        return r.Ok();
    case EmrStrokeAndFillPath:
    case RecTextPath:
        return GetIndexed(r, data.paths, rec.path);
    case EmrStretchDIBits:
        rec.rect = GetRect(r);
        rec.source = GetRect(r);
        if (!GetIndexed(r, data.images, rec.image))
            return false;
        rec.value = r.Get<qint32>();
        return r.Ok();
    case RecTiledImage: {
        rec.rect = GetRect(r);
        const double x = r.Get<double>(), y = r.Get<double>();
        rec.point = QPointF(x, y);
        return GetIndexed(r, data.images, rec.image);
    }
    case EmrExtTextOutW:
        return DecodeText(data, r, rec);
    default:
        return false;
    }
}

} // namespace platform
