#include "platform/emf/EmfPlayer_p.h"

#include <cmath>

namespace platform::emf {
namespace {

// Pens wider than this many device pixels are clamped: nothing on a page needs more, and the
// stroker's work grows with the width.
constexpr double kMaxPenPixels = 100000;

QColor Inverted(const QColor &c)
{
    return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

QColor RopColor(int rop2, const QColor &c)
{
    switch (rop2) {
    case R2_BLACK:
        return Qt::black;
    case R2_WHITE:
        return Qt::white;
    case R2_NOTCOPYPEN:
        return Inverted(c);
    default:
        return c;
    }
}

Qt::BrushStyle QtHatch(quint32 hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL:
        return Qt::HorPattern;
    case HS_VERTICAL:
        return Qt::VerPattern;
    case HS_FDIAGONAL:
        return Qt::FDiagPattern;
    case HS_BDIAGONAL:
        return Qt::BDiagPattern;
    case HS_CROSS:
        return Qt::CrossPattern;
    case HS_DIAGCROSS:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

} // namespace

void Player::ApplyClip()
{
    if (!clipDirty_)
        return;
    p_.setWorldTransform(QTransform());
    if (dc_.clip.IsRect())
        p_.setClipRect(dc_.clip.Rect());
    else
        p_.setClipPath(dc_.clip.Path());
    clipDirty_ = false;
}

bool Player::BeginCopyDraw()
{
    const int saveRop = dc_.rop2;
    dc_.rop2 = R2_COPYPEN;
    const bool ready = BeginDraw();
    dc_.rop2 = saveRop;
    return ready;
}

bool Player::BeginDraw()
{
    if (stopped_ || dc_.rop2 == R2_NOP)
        return false;
    ApplyClip();
    if (dc_.clip.IsEmpty())
        return false;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (dc_.rop2) {
    case R2_XORPEN:
    case R2_NOTXORPEN:
        if (blendModes_)
            mode = QPainter::CompositionMode_Difference;
        break;
    case R2_MASKPEN:
        if (blendModes_)
            mode = QPainter::CompositionMode_Multiply;
        break;
    case R2_MERGEPEN:
        if (blendModes_)
            mode = QPainter::CompositionMode_Screen;
        break;
    case R2_NOT:
        if (!rasterOps_)
            return false;
        mode = QPainter::RasterOp_NotDestination;
        break;
    default:
        break;
    }
    p_.setCompositionMode(mode);
    p_.setWorldTransform(LogicalToDevice());
    p_.setBackgroundMode(dc_.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.setBackground(dc_.bkColor);
    p_.setOpacity(1);
    return true;
}

QPen Player::MakePen() const
{
    const Pen &pen = dc_.pen;
    if (pen.IsNull())
        return Qt::NoPen;
    const QTransform t = p_.worldTransform();
    const double scale = std::sqrt(std::abs(t.determinant()));
    const bool geometric = (pen.style & PS_GEOMETRIC) || pen.width > 1;
    double width = geometric ? pen.width : 0;
    if (width * scale < 1)
        width = 0; // thinner than a device pixel: GDI still draws one pixel
    else if (width * scale > kMaxPenPixels)
        width = kMaxPenPixels / scale;
    QPen q(RopColor(dc_.rop2, pen.color), width);
    if (width == 0) {
        q.setCosmetic(true);
        q.setCapStyle(Qt::FlatCap);
    } else {
        switch (pen.style & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE:
            q.setCapStyle(Qt::SquareCap);
            break;
        case PS_ENDCAP_FLAT:
            q.setCapStyle(Qt::FlatCap);
            break;
        default:
            q.setCapStyle(Qt::RoundCap);
            break;
        }
    }
    switch (pen.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL:
        q.setJoinStyle(Qt::BevelJoin);
        break;
    case PS_JOIN_MITER:
        q.setJoinStyle(Qt::MiterJoin);
        q.setMiterLimit(dc_.miterLimit);
        break;
    default:
        q.setJoinStyle(Qt::RoundJoin);
        break;
    }
    // Dash lengths: a cosmetic pen's are device pixels as GDI draws them; a geometric pen's
    // scale with its width.
    QList<qreal> dashes;
    switch (pen.style & PS_STYLE_MASK) {
    case PS_DASH:
        dashes = width == 0 ? QList<qreal>{18, 6} : QList<qreal>{3, 1};
        break;
    case PS_DOT:
        dashes = width == 0 ? QList<qreal>{3, 3} : QList<qreal>{1, 1};
        break;
    case PS_DASHDOT:
        dashes = width == 0 ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1};
        break;
    case PS_DASHDOTDOT:
        dashes = width == 0 ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1};
        break;
    case PS_ALTERNATE:
        dashes = {1, 1};
        break;
    case PS_USERSTYLE:
        for (qreal d : pen.userDashes)
            dashes.append(std::max<qreal>(width > 0 ? d / width : d, 0.1));
        if (dashes.size() % 2)
            dashes += dashes;
        break;
    default:
        break;
    }
    if (!dashes.isEmpty())
        q.setDashPattern(dashes);
    return q;
}

QBrush Player::MakeBrush(const Brush &brush) const
{
    if (brush.IsNull())
        return Qt::NoBrush;
    const QColor color = RopColor(dc_.rop2, brush.color);
    if (brush.style == BS_HATCHED)
        return QBrush(color, QtHatch(brush.hatch));
    if (brush.style != BS_DIBPATTERN || brush.pattern.isNull())
        return QBrush(color);
    QImage pattern = brush.pattern;
    if (brush.monochrome) {
        // A mono pattern draws its 0 bits in the text colour and its 1 bits in the background colour.
        const QRgb fore = dc_.textColor.rgb(), back = dc_.bkColor.rgb();
        pattern = pattern.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < pattern.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(pattern.scanLine(y));
            for (int x = 0; x < pattern.width(); ++x)
                line[x] = qGray(line[x]) < 128 ? fore : back;
        }
    }
    QBrush q(pattern);
    // Patterns are laid in reference device pixels from the brush origin, whatever the mapping.
    bool invertible = false;
    const QTransform inverse = p_.worldTransform().inverted(&invertible);
    if (invertible)
        q.setTransform(QTransform::fromTranslate(dc_.brushOrigin.x(), dc_.brushOrigin.y()) * base_ * inverse);
    return q;
}

ClipArea Player::DeviceArea(const QPainterPath &logical) const
{
    return ClipArea(LogicalToDevice().map(logical));
}

void Player::ClipRect(const Record &r, bool exclude)
{
    auto e = r.RectL(8);
    if (!e)
        return;
    QPainterPath path;
    path.addRect(QRectF(QPointF(e->left, e->top), QPointF(e->right, e->bottom)).normalized());
    dc_.clip.Combine(DeviceArea(path), exclude ? RGN_DIFF : RGN_AND);
    Spend(dc_.clip.IsRect() ? 1 : dc_.clip.Path().elementCount());
    clipDirty_ = true;
}

std::optional<QPainterPath> Player::RegionPath(const Record &r, quint64 offset, quint64 size)
{
    auto count = r.U32(offset + 8);
    if (!count || size < 32 || !r.Has(offset, size))
        return std::nullopt;
    if (quint64(*count) * 16 > size - 32)
        return std::nullopt;
    if (!Spend(qint64(*count) * 4))
        return std::nullopt;
    QPainterPath path;
    for (quint32 i = 0; i < *count; ++i) {
        const auto e = *r.RectL(offset + 32 + 16 * quint64(i));
        path.addRect(QRectF(QPointF(e.left, e.top), QPointF(e.right, e.bottom)).normalized());
    }
    return path;
}

void Player::ExtSelectClipRgn(const Record &r)
{
    auto cb = r.U32(8), mode = r.U32(12);
    if (!cb || !mode || *mode < RGN_AND || *mode > RGN_COPY)
        return;
    clipDirty_ = true;
    if (*mode == RGN_COPY && (*cb < 32 || !r.Has(16, *cb))) {
        dc_.clip = metaClip_; // no region: back to the default clipping
        return;
    }
    auto region = RegionPath(r, 16, *cb);
    if (!region)
        return;
    // Region rectangles are reference device pixels, not logical units.
    ClipArea area(base_.map(*region));
    if (*mode == RGN_COPY) {
        area.Intersect(metaClip_);
        dc_.clip = area;
    } else {
        dc_.clip.Combine(area, int(*mode));
        if (*mode == RGN_OR || *mode == RGN_XOR)
            dc_.clip.Intersect(metaClip_);
    }
    Spend(dc_.clip.IsRect() ? 1 : dc_.clip.Path().elementCount());
}

void Player::OffsetClip(const Record &r)
{
    auto pt = r.PointL(8);
    if (!pt)
        return;
    const QTransform t = LogicalToDevice();
    const QPointF offset = t.map(QPointF(*pt)) - t.map(QPointF(0, 0));
    dc_.clip.Translate(offset);
    dc_.clip.Intersect(metaClip_);
    clipDirty_ = true;
}

void Player::FillRegion(const Record &r, int type)
{
    const quint64 dataAt = type == EMR_FILLRGN ? 32 : type == EMR_FRAMERGN ? 40 : 28;
    auto cb = r.U32(24);
    if (!cb)
        return;
    auto region = RegionPath(r, dataAt, *cb);
    if (!region || !BeginDraw())
        return;
    Brush brush = dc_.brush;
    if (type == EMR_FILLRGN || type == EMR_FRAMERGN) {
        auto index = r.U32(28);
        if (!index)
            return;
        if (*index & kStockObjectFlag) {
            brush = StockBrush(*index & ~kStockObjectFlag);
        } else {
            const Object *object = ObjectAt(*index);
            const Brush *b = object ? std::get_if<Brush>(object) : nullptr;
            if (!b)
                return;
            brush = *b;
        }
    }
    QPainterPath path = region->simplified();
    switch (type) {
    case EMR_FRAMERGN: {
        auto w = r.I32(32);
        if (!w)
            return;
        QPen pen(MakeBrush(brush), std::min(std::abs(double(*w)), 1e6));
        p_.strokePath(path, pen);
        break;
    }
    case EMR_INVERTRGN:
        if (!rasterOps_)
            return;
        p_.setCompositionMode(QPainter::RasterOp_NotDestination);
        p_.fillPath(path, Qt::black);
        break;
    default:
        p_.fillPath(path, MakeBrush(brush));
        break;
    }
}

} // namespace platform::emf
