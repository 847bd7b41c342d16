#include "platform/emf/EmfPlayer_p.h"

#include <QPainterPathStroker>
#include <cmath>
#include <numbers>

namespace platform::emf {
namespace {

// A dashed outline needing more dashes than this is drawn solid: the dasher would otherwise
// spend its time on dashes too small to see (a crafted line a billion units long, say).
constexpr double kMaxDashes = 100000;

std::optional<QPolygonF> ReadPoints(const Record &r, quint64 at, quint64 count, bool small)
{
    const quint64 each = small ? 4 : 8;
    if (count > r.Size() / each || !r.Has(at, count * each))
        return std::nullopt;
    QPolygonF points;
    points.reserve(qsizetype(count));
    const uchar *p = r.Data() + at;
    for (quint64 i = 0; i < count; ++i, p += each) {
        if (small)
            points.append(QPointF(qint16(p[0] | p[1] << 8), qint16(p[2] | p[3] << 8)));
        else
            points.append(
                QPointF(qint32(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24),
                        qint32(quint32(p[4]) | quint32(p[5]) << 8 | quint32(p[6]) << 16 | quint32(p[7]) << 24)));
    }
    return points;
}

double Degrees(const QPointF &point, const QPointF &center, double rx, double ry)
{
    return std::atan2(-(point.y() - center.y()) / ry, (point.x() - center.x()) / rx) * 180 / std::numbers::pi;
}

} // namespace

void Player::DrawShape(const QPainterPath &logical, bool closed)
{
    if (inPath_) {
        path_.addPath(LogicalToDevice().map(logical));
        figureOpen_ = !closed;
        return;
    }
    if (!BeginDraw())
        return;
    QPen pen = MakePen();
    if (pen.style() == Qt::CustomDashLine) {
        double unit = 0;
        for (qreal d : pen.dashPattern())
            unit += d;
        const double scale = std::sqrt(std::abs(p_.worldTransform().determinant()));
        const double width = pen.widthF() > 0 ? pen.widthF() * scale : 1;
        if (logical.length() * scale / std::max(unit * width, 1e-9) > kMaxDashes)
            pen.setStyle(Qt::SolidLine);
    }
    p_.setPen(pen);
    p_.setBrush(closed ? MakeBrush(dc_.brush) : QBrush(Qt::NoBrush));
    QPainterPath path = logical;
    path.setFillRule(dc_.fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    p_.drawPath(path);
}

// Lines that go on from the current position: inside a path they extend the open figure.
void Player::ContinueFigure(const QPainterPath &logical)
{
    if (!inPath_) {
        DrawShape(logical, false);
        return;
    }
    const QTransform t = LogicalToDevice();
    if (!figureOpen_ || path_.elementCount() == 0)
        path_.moveTo(t.map(dc_.current));
    for (int i = 1; i < logical.elementCount(); ++i) {
        const QPainterPath::Element e = logical.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < logical.elementCount()) {
            const auto c2 = logical.elementAt(i + 1), end = logical.elementAt(i + 2);
            path_.cubicTo(t.map(QPointF(e)), t.map(QPointF(c2)), t.map(QPointF(end)));
            i += 2;
        } else if (e.type == QPainterPath::MoveToElement) {
            path_.moveTo(t.map(QPointF(e)));
        } else {
            path_.lineTo(t.map(QPointF(e)));
        }
    }
    figureOpen_ = true;
}

void Player::DrawPoly(const Record &r, bool small, Poly kind)
{
    auto count = r.U32(24);
    auto points = count ? ReadPoints(r, 28, *count, small) : std::nullopt;
    if (!points || points->isEmpty() || !Spend(points->size()))
        return;
    const QPolygonF &pts = *points;
    QPainterPath path;
    switch (kind) {
    case Poly::Polygon:
        if (pts.size() < 2)
            return;
        path.addPolygon(pts);
        path.closeSubpath();
        DrawShape(path, true);
        return;
    case Poly::Polyline:
        if (pts.size() < 2)
            return;
        path.addPolygon(pts);
        DrawShape(path, false);
        return;
    case Poly::Bezier:
        if (pts.size() < 4 || (pts.size() - 1) % 3)
            return;
        path.moveTo(pts[0]);
        for (qsizetype i = 1; i + 2 < pts.size(); i += 3)
            path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        DrawShape(path, false);
        return;
    case Poly::PolylineTo:
        path.moveTo(dc_.current);
        for (const QPointF &p : pts)
            path.lineTo(p);
        break;
    case Poly::BezierTo:
        if (pts.size() % 3)
            return;
        path.moveTo(dc_.current);
        for (qsizetype i = 0; i + 2 < pts.size(); i += 3)
            path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        break;
    }
    ContinueFigure(path);
    dc_.current = pts.last();
}

void Player::DrawPolyPoly(const Record &r, bool small, bool polygon)
{
    auto polys = r.U32(24), total = r.U32(28);
    if (!polys || !total || *polys > r.Size() / 4 || !r.Has(32, quint64(*polys) * 4))
        return;
    auto points = ReadPoints(r, 32 + quint64(*polys) * 4, *total, small);
    if (!points || !Spend(points->size() + *polys))
        return;
    QPainterPath path;
    quint64 at = 0;
    for (quint32 i = 0; i < *polys; ++i) {
        const quint32 n = *r.U32(32 + 4 * quint64(i));
        if (n > *total - at)
            return; // counts that run past the points: the record is bad
        if (n >= 2) {
            path.moveTo(points->at(qsizetype(at)));
            for (quint32 k = 1; k < n; ++k)
                path.lineTo(points->at(qsizetype(at + k)));
            if (polygon)
                path.closeSubpath();
        }
        at += n;
    }
    DrawShape(path, polygon);
}

void Player::DrawPolyDraw(const Record &r, bool small)
{
    auto count = r.U32(24);
    auto points = count ? ReadPoints(r, 28, *count, small) : std::nullopt;
    if (!points || !Spend(points->size()))
        return;
    const quint64 typesAt = 28 + quint64(*count) * (small ? 4 : 8);
    if (!points || !r.Has(typesAt, *count))
        return;
    enum { PT_CLOSEFIGURE = 1, PT_LINETO = 2, PT_BEZIERTO = 4, PT_MOVETO = 6 };
    const uchar *types = r.Data() + typesAt;
    QPainterPath path;
    path.moveTo(dc_.current);
    QPointF current = dc_.current;
    for (qsizetype i = 0; i < points->size(); ++i) {
        const int t = types[i] & ~PT_CLOSEFIGURE;
        const QPointF &p = points->at(i);
        if (t == PT_MOVETO) {
            path.moveTo(p);
        } else if (t == PT_LINETO) {
            path.lineTo(p);
        } else if (t == PT_BEZIERTO && i + 2 < points->size()) {
            path.cubicTo(p, points->at(i + 1), points->at(i + 2));
            i += 2;
        } else {
            return; // an unknown point type makes the call fail
        }
        current = path.currentPosition();
        if (types[i] & PT_CLOSEFIGURE)
            path.closeSubpath();
    }
    if (inPath_)
        ContinueFigure(path);
    else
        DrawShape(path, false);
    dc_.current = current;
}

void Player::MoveTo(const Record &r)
{
    if (auto pt = r.PointL(8)) {
        dc_.current = *pt;
        figureOpen_ = false;
    }
}

void Player::LineTo(const Record &r)
{
    auto pt = r.PointL(8);
    if (!pt)
        return;
    QPainterPath path;
    path.moveTo(dc_.current);
    path.lineTo(*pt);
    ContinueFigure(path);
    dc_.current = *pt;
}

void Player::DrawBox(const Record &r, int type)
{
    auto e = r.RectL(8);
    if (!e)
        return;
    const QRectF box = QRectF(QPointF(e->left, e->top), QPointF(e->right, e->bottom)).normalized();
    QPainterPath path;
    if (type == EMR_RECTANGLE) {
        path.addRect(box);
    } else if (type == EMR_ELLIPSE) {
        path.addEllipse(box);
    } else {
        auto corner = r.PointL(24);
        if (!corner)
            return;
        const double rx = std::min(std::abs(double(corner->x())) / 2, box.width() / 2);
        const double ry = std::min(std::abs(double(corner->y())) / 2, box.height() / 2);
        path.addRoundedRect(box, rx, ry);
    }
    DrawShape(path, true);
}

bool Player::ArcPath(const Record &r, QPainterPath &path, QRectF &box, double &start, double &sweep) const
{
    auto e = r.RectL(8);
    auto from = r.PointL(24), to = r.PointL(32);
    if (!e || !from || !to)
        return false;
    box = QRectF(QPointF(e->left, e->top), QPointF(e->right, e->bottom)).normalized();
    const double rx = box.width() / 2, ry = box.height() / 2;
    if (rx <= 0 || ry <= 0)
        return false;
    const QPointF c = box.center();
    start = Degrees(*from, c, rx, ry);
    const double end = Degrees(*to, c, rx, ry);
    // The direction is as seen on the device: a mapping that flips one axis turns it round.
    bool counterClockwise = dc_.arcDirection == AD_COUNTERCLOCKWISE;
    if (LogicalToDevice().determinant() < 0)
        counterClockwise = !counterClockwise;
    sweep = end - start;
    if (counterClockwise) {
        while (sweep <= 0)
            sweep += 360;
    } else {
        while (sweep >= 0)
            sweep -= 360;
    }
    path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    return true;
}

void Player::DrawArc(const Record &r, int type)
{
    QPainterPath arc;
    QRectF box;
    double start = 0, sweep = 0;
    if (!ArcPath(r, arc, box, start, sweep))
        return;
    switch (type) {
    case EMR_ARC:
        DrawShape(arc, false);
        break;
    case EMR_CHORD:
        arc.closeSubpath();
        DrawShape(arc, true);
        break;
    case EMR_PIE: {
        QPainterPath pie;
        pie.moveTo(box.center());
        pie.arcTo(box, start, sweep);
        pie.closeSubpath();
        DrawShape(pie, true);
        break;
    }
    case EMR_ARCTO: {
        QPainterPath path;
        path.moveTo(dc_.current);
        path.arcTo(box, start, sweep);
        const QPointF end = path.currentPosition();
        ContinueFigure(path);
        dc_.current = end;
        break;
    }
    default:
        break;
    }
}

void Player::AngleArc(const Record &r)
{
    auto center = r.PointL(8);
    auto radius = r.U32(16);
    auto start = r.F32(20), sweep = r.F32(24);
    if (!center || !radius || !start || !sweep || !std::isfinite(*start) || !std::isfinite(*sweep) ||
        *radius > 0x7FFFFFFF)
        return;
    const double rad = *radius;
    const QRectF box(center->x() - rad, center->y() - rad, 2 * rad, 2 * rad);
    const double a = std::fmod(double(*start), 360.0);
    const double s = std::clamp(double(*sweep), -360.0, 360.0);
    QPainterPath path;
    path.moveTo(dc_.current);
    path.arcTo(box, a, s);
    const QPointF end = path.currentPosition();
    ContinueFigure(path);
    dc_.current = end;
}

void Player::SetPixel(const Record &r)
{
    auto pt = r.PointL(8);
    auto color = r.U32(16);
    if (!pt || !color || !BeginDraw())
        return;
    const QPointF device = (dc_.world * PageTransform()).map(QPointF(*pt));
    p_.setWorldTransform(base_);
    p_.fillRect(QRectF(std::floor(device.x()), std::floor(device.y()), 1, 1), ColorRef(*color));
}

void Player::EndPathOp(int type)
{
    inPath_ = false;
    QPainterPath device = path_;
    path_ = QPainterPath();
    if (device.isEmpty() || !BeginDraw())
        return;
    bool invertible = false;
    const QTransform inverse = p_.worldTransform().inverted(&invertible);
    if (!invertible)
        return;
    QPainterPath logical = inverse.map(device);
    logical.setFillRule(dc_.fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const QBrush brush = type == EMR_STROKEPATH ? QBrush(Qt::NoBrush) : MakeBrush(dc_.brush);
    if (type == EMR_FILLPATH)
        p_.fillPath(logical, brush);
    else {
        p_.setPen(MakePen());
        p_.setBrush(brush);
        p_.drawPath(logical);
    }
}

void Player::WidenPath()
{
    if (path_.isEmpty() || dc_.pen.IsNull())
        return;
    // The pen's outline in device units: its width maps through the current transform.
    const QTransform t = LogicalToDevice();
    const double scale = std::sqrt(std::abs(t.determinant()));
    QPainterPathStroker stroker;
    stroker.setWidth(std::clamp(dc_.pen.width * scale, 1.0, 100000.0));
    p_.setWorldTransform(t);
    const QPen pen = MakePen();
    stroker.setCapStyle(pen.capStyle());
    stroker.setJoinStyle(pen.joinStyle());
    stroker.setMiterLimit(pen.miterLimit());
    path_ = stroker.createStroke(path_);
    figureOpen_ = false;
}

void Player::FlattenPath()
{
    QPainterPath flat;
    for (const QPolygonF &poly : path_.toSubpathPolygons())
        flat.addPolygon(poly);
    path_ = flat;
    figureOpen_ = false;
}

void Player::SelectClipPath(const Record &r)
{
    auto mode = r.U32(8);
    if (!mode || *mode < RGN_AND || *mode > RGN_COPY)
        return;
    QPainterPath path = path_;
    path.setFillRule(dc_.fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    path_ = QPainterPath();
    inPath_ = false;
    if (!Spend(path.elementCount()))
        return;
    ClipArea area(path);
    if (*mode == RGN_COPY) {
        area.Intersect(metaClip_);
        dc_.clip = area;
    } else {
        dc_.clip.Combine(area, int(*mode));
    }
    clipDirty_ = true;
}

} // namespace platform::emf
