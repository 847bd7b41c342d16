#include "platform/emf/EmfPlayer_p.h"

#include <QPaintEngine>
#include <cmath>

namespace platform::emf {
namespace {

constexpr double kDefaultDpmm = 96 / 25.4;
// Object indexes beyond what the header announced are still taken up to this bound, since some
// writers count wrong; past it an index is treated as invalid.
constexpr quint32 kMaxObjects = 65536;
constexpr qint64 kMaxPatternPixels = 1024 * 1024;

bool Finite(const QTransform &t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) && std::isfinite(t.m22()) &&
           std::isfinite(t.dx()) && std::isfinite(t.dy()) && t.determinant() != 0 && std::isfinite(t.determinant());
}

} // namespace

Player::Player(const QByteArray &bytes, const TEmfHeader &header, QPainter &painter, const QRectF &target)
    : p_(painter), data_(reinterpret_cast<const uchar *>(bytes.constData()))
{
    // The records are played to the end record or the end of the bytes, whatever total size the
    // header declares: writers get it wrong both ways, and a cut file still shows what it holds.
    size_ = quint64(bytes.size());

    const QSize px = header.devicePixels, mm = header.deviceMillimetres;
    dpmmX_ = px.width() > 0 && mm.width() > 0 ? double(px.width()) / mm.width() : kDefaultDpmm;
    dpmmY_ = px.height() > 0 && mm.height() > 0 ? double(px.height()) / mm.height() : kDefaultDpmm;
    if (dpmmX_ < 0.01 || dpmmX_ > 10000)
        dpmmX_ = kDefaultDpmm;
    if (dpmmY_ < 0.01 || dpmmY_ > 10000)
        dpmmY_ = kDefaultDpmm;

    // The frame (0.01 mm on the reference device) is what gets stretched into the target.
    const QRect &f = header.frame;
    QRectF frame(QPointF(f.left() * dpmmX_ / 100, f.top() * dpmmY_ / 100),
                 QPointF(f.right() * dpmmX_ / 100, f.bottom() * dpmmY_ / 100));
    const QRect &b = header.bounds;
    const QRectF bounds(QPointF(b.left(), b.top()), QPointF(b.right() + 1.0, b.bottom() + 1.0));
    if (!(frame.width() > 0 && frame.height() > 0)) {
        frame = bounds;
    } else if (bounds.width() > 0 && bounds.height() > 0) {
        // Some writers put the frame beside what they draw (one diagram tool writes it below its
        // negative y coordinates): a frame of the drawing's size that misses nearly all of it is
        // moved onto the drawing.
        const QRectF common = frame.intersected(bounds);
        const double overlap = common.width() * common.height() / (bounds.width() * bounds.height());
        const double rw = frame.width() / bounds.width(), rh = frame.height() / bounds.height();
        if (overlap < 0.1 && rw > 0.5 && rw < 2 && rh > 0.5 && rh < 2)
            frame.moveTopLeft(bounds.topLeft());
    }
    if (!(frame.width() > 0 && frame.height() > 0))
        frame = QRectF(0, 0, std::max(1, px.width()), std::max(1, px.height()));

    const QTransform outer = painter.worldTransform();
    base_ = QTransform::fromTranslate(-frame.left(), -frame.top()) *
            QTransform::fromScale(target.width() / frame.width(), target.height() / frame.height()) *
            QTransform::fromTranslate(target.left(), target.top()) * outer;

    QPainterPath area;
    area.addPolygon(outer.map(QPolygonF(target)));
    metaClip_ = ClipArea(area);
    if (painter.hasClipping())
        metaClip_.Intersect(ClipArea(outer.map(painter.clipPath())));
    dc_.clip = metaClip_;

    if (QPaintEngine *engine = painter.paintEngine()) {
        blendModes_ = engine->hasFeature(QPaintEngine::BlendModes);
        rasterOps_ = engine->hasFeature(QPaintEngine::RasterOpModes);
    }
    objects_.resize(std::max<quint32>(header.handles, 1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    dc_.font = StockFont(SYSTEM_FONT);
}

bool Player::Spend(qint64 units)
{
    work_ += units;
    if (work_ > kMaxWork)
        stopped_ = true;
    return !stopped_;
}

void Player::Play()
{
    RecordReader reader(data_, size_);
    reader.Next(); // the header, already read
    while (auto r = reader.Next()) {
        if (!Spend(1) || r->Type() == EMR_EOF)
            break;
        Dispatch(*r);
        if (stopped_)
            break;
    }
}

QTransform Player::PageTransform() const
{
    double sx = 1, sy = 1;
    if (dc_.mapMode != MM_TEXT) {
        sx = dc_.viewportExt.width() / dc_.windowExt.width();
        sy = dc_.viewportExt.height() / dc_.windowExt.height();
        // Extents scaled down to nothing or up past the doubles fall back to one to one.
        if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0)
            sx = sy = 1;
        if (dc_.mapMode == MM_ISOTROPIC) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
    }
    return QTransform(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                      dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
}

QTransform Player::LogicalToDevice() const
{
    return dc_.world * PageTransform() * base_;
}

void Player::SetMapMode(int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    // The fixed modes are window and viewport extents of their own; isotropic starts from the
    // metric ones, anisotropic keeps what the previous mode left.
    double mmPer1000 = 0;
    switch (mode) {
    case MM_LOMETRIC:
    case MM_ISOTROPIC:
        mmPer1000 = 100;
        break;
    case MM_HIMETRIC:
        mmPer1000 = 10;
        break;
    case MM_LOENGLISH:
        mmPer1000 = 254;
        break;
    case MM_HIENGLISH:
        mmPer1000 = 25.4;
        break;
    case MM_TWIPS:
        mmPer1000 = 25400.0 / 1440;
        break;
    default:
        break;
    }
    if (mode == MM_TEXT) {
        dc_.windowExt = dc_.viewportExt = QSizeF(1, 1);
    } else if (mmPer1000 > 0) {
        dc_.windowExt = QSizeF(1000, 1000);
        dc_.viewportExt = QSizeF(dpmmX_ * mmPer1000, -dpmmY_ * mmPer1000);
    }
    dc_.mapMode = mode;
}

void Player::SetExtent(QSizeF &extent, const Record &r)
{
    auto x = r.I32(8), y = r.I32(12);
    if (!x || !y || *x == 0 || *y == 0)
        return;
    if (dc_.mapMode == MM_ISOTROPIC || dc_.mapMode == MM_ANISOTROPIC)
        extent = QSizeF(*x, *y);
}

void Player::ScaleExtent(QSizeF &extent, const Record &r)
{
    auto xn = r.I32(8), xd = r.I32(12), yn = r.I32(16), yd = r.I32(20);
    if (!xn || !xd || !yn || !yd || *xn == 0 || *xd == 0 || *yn == 0 || *yd == 0)
        return;
    if (dc_.mapMode == MM_ISOTROPIC || dc_.mapMode == MM_ANISOTROPIC)
        extent = QSizeF(extent.width() * *xn / *xd, extent.height() * *yn / *yd);
}

void Player::ModifyWorld(const Record &r)
{
    const auto x = r.Xform(8);
    const auto mode = r.U32(32);
    if (!mode)
        return;
    QTransform result;
    switch (*mode) {
    case MWT_IDENTITY:
        break;
    case MWT_LEFTMULTIPLY:
        if (!x)
            return;
        result = *x * dc_.world;
        break;
    case MWT_RIGHTMULTIPLY:
        if (!x)
            return;
        result = dc_.world * *x;
        break;
    case MWT_SET:
        if (!x)
            return;
        result = *x;
        break;
    default:
        return;
    }
    if (Finite(result))
        dc_.world = result;
}

QColor Player::ColorRef(quint32 v) const
{
    if ((v >> 24) == 1) { // PALETTEINDEX
        const quint32 index = v & 0xFFFF;
        return index < quint32(dc_.palette.size()) ? QColor(dc_.palette[index]) : QColor(Qt::black);
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

Pen Player::StockPen(quint32 which) const
{
    Pen pen;
    if (which == WHITE_PEN)
        pen.color = Qt::white;
    else if (which == NULL_PEN)
        pen.style = PS_NULL;
    return pen;
}

Brush Player::StockBrush(quint32 which) const
{
    static const int greys[] = {255, 192, 128, 64, 0};
    Brush brush;
    if (which <= BLACK_BRUSH)
        brush.color = QColor(greys[which], greys[which], greys[which]);
    else if (which == NULL_BRUSH)
        brush.style = BS_NULL;
    return brush;
}

Font Player::StockFont(quint32 which) const
{
    Font font;
    const bool fixed = which == OEM_FIXED_FONT || which == ANSI_FIXED_FONT || which == SYSTEM_FIXED_FONT;
    font.face = fixed ? QStringLiteral("Courier New") : QStringLiteral("Arial");
    font.pitchAndFamily = fixed ? 0x31 : 0x22;
    font.height = which == DEFAULT_GUI_FONT || which == ANSI_VAR_FONT || which == ANSI_FIXED_FONT ? -11 : 16;
    font.weight = which == SYSTEM_FONT || which == DEVICE_DEFAULT_FONT ? 700 : 400;
    return font;
}

void Player::SelectObject(quint32 index)
{
    if (index & kStockObjectFlag) {
        const quint32 which = index & ~kStockObjectFlag;
        if (which <= NULL_BRUSH || which == DC_BRUSH)
            dc_.brush = StockBrush(which == DC_BRUSH ? WHITE_BRUSH : which);
        else if (which <= NULL_PEN || which == DC_PEN)
            dc_.pen = StockPen(which == DC_PEN ? BLACK_PEN : which);
        else if (which >= OEM_FIXED_FONT && which <= DEFAULT_GUI_FONT && which != DEFAULT_PALETTE)
            dc_.font = StockFont(which);
        else if (which == DEFAULT_PALETTE)
            dc_.palette.clear();
        return;
    }
    const Object *object = ObjectAt(index);
    if (!object)
        return;
    if (auto pen = std::get_if<Pen>(object))
        dc_.pen = *pen;
    else if (auto brush = std::get_if<Brush>(object))
        dc_.brush = *brush;
    else if (auto font = std::get_if<Font>(object))
        dc_.font = *font;
    else if (auto palette = std::get_if<Palette>(object))
        dc_.palette = palette->entries;
}

const Object *Player::ObjectAt(quint32 index) const
{
    if (index == 0 || index >= objects_.size() || !objects_[index])
        return nullptr;
    return &*objects_[index];
}

void Player::StoreObject(quint32 index, Object object)
{
    if (index == 0 || index >= kMaxObjects)
        return;
    if (index >= objects_.size())
        objects_.resize(index + 1);
    objects_[index] = std::move(object);
}

void Player::RestoreDc(qint32 which)
{
    std::size_t level;
    if (which < 0) {
        const quint64 back = quint64(-qint64(which));
        if (back > saved_.size())
            return;
        level = saved_.size() - back;
    } else {
        if (which == 0 || quint64(which) > saved_.size())
            return;
        level = std::size_t(which) - 1;
    }
    dc_ = saved_[level];
    saved_.resize(level);
    clipDirty_ = true;
}

void Player::CreatePen(const Record &r)
{
    auto index = r.U32(8), style = r.U32(12), color = r.U32(24);
    auto width = r.I32(16);
    if (!index || !style || !width || !color)
        return;
    Pen pen;
    pen.style = *style;
    pen.width = std::abs(double(*width));
    pen.color = ColorRef(*color);
    // A plain pen wider than one unit is drawn geometric (round caps and joins).
    if (pen.width > 1)
        pen.style |= PS_GEOMETRIC;
    StoreObject(*index, pen);
}

void Player::ExtCreatePen(const Record &r)
{
    auto index = r.U32(8), style = r.U32(28), width = r.U32(32), brushStyle = r.U32(36), color = r.U32(40),
         entries = r.U32(48);
    if (!index || !style || !width || !brushStyle || !color || !entries)
        return;
    Pen pen;
    pen.style = *style;
    pen.width = (*style & PS_GEOMETRIC) ? double(std::min<quint32>(*width, 0x7FFFFFFF)) : 0;
    pen.color = ColorRef(*color);
    if (*brushStyle == BS_NULL)
        pen.style = (pen.style & ~PS_STYLE_MASK) | PS_NULL;
    if ((*style & PS_STYLE_MASK) == PS_USERSTYLE) {
        // Only the first sixteen entries count; an odd or empty list falls back to solid.
        const quint32 count = std::min<quint32>(*entries, 16);
        for (quint32 i = 0; i < count; ++i) {
            auto e = r.U32(52 + 4 * i);
            if (!e)
                break;
            pen.userDashes.append(std::min<quint32>(*e, 1u << 20));
        }
    }
    StoreObject(*index, pen);
}

void Player::CreateBrush(const Record &r)
{
    auto index = r.U32(8), style = r.U32(12), color = r.U32(16), hatch = r.U32(20);
    if (!index || !style || !color || !hatch)
        return;
    Brush brush;
    brush.style = *style == BS_NULL || *style == BS_HATCHED ? *style : BS_SOLID;
    brush.color = ColorRef(*color);
    brush.hatch = *hatch;
    StoreObject(*index, brush);
}

void Player::CreatePatternBrush(const Record &r, bool mono)
{
    auto index = r.U32(8), usage = r.U32(12), offBmi = r.U32(16), cbBmi = r.U32(20), offBits = r.U32(24),
         cbBits = r.U32(28);
    if (!index || !usage || !offBmi || !cbBmi || !offBits || !cbBits)
        return;
    // Patterns are tiles of a few pixels; a huge one would be copied and recoloured at every use.
    const Dib dib = ReadDib(r, *offBmi, *cbBmi, *offBits, *cbBits, *usage, false, 0, kMaxPatternPixels);
    if (dib.image.isNull())
        return;
    Brush brush;
    brush.style = BS_DIBPATTERN;
    brush.pattern = dib.image;
    // A DIB pattern keeps its own colour table; only a mono brush takes the DC colours.
    brush.monochrome = mono;
    StoreObject(*index, brush);
}

void Player::CreateFont(const Record &r)
{
    auto index = r.U32(8);
    auto height = r.I32(12), width = r.I32(16), escapement = r.I32(20), weight = r.I32(28);
    auto italic = r.U8(32), underline = r.U8(33), strike = r.U8(34), charset = r.U8(35), pitch = r.U8(39);
    if (!index || !height || !width || !escapement || !weight || !italic || !underline || !strike || !charset || !pitch)
        return;
    Font font;
    font.height = *height;
    font.width = *width;
    font.escapement = *escapement;
    font.weight = *weight;
    font.italic = *italic;
    font.underline = *underline;
    font.strikeOut = *strike;
    font.charset = *charset;
    font.pitchAndFamily = *pitch;
    for (int i = 0; i < 32; ++i) {
        auto c = r.U16(40 + 2 * i);
        if (!c || *c == 0)
            break;
        font.face.append(QChar(*c));
    }
    StoreObject(*index, font);
}

void Player::CreatePalette(const Record &r)
{
    auto index = r.U32(8);
    auto count = r.U16(14);
    if (!index || !count)
        return;
    Palette palette;
    for (quint32 i = 0; i < *count && r.Has(16 + 4 * i, 4); ++i) {
        const uchar *e = r.Data() + 16 + 4 * i;
        palette.entries.append(qRgb(e[0], e[1], e[2]));
    }
    StoreObject(*index, palette);
}

void Player::SetPaletteEntries(const Record &r)
{
    auto index = r.U32(8), start = r.U32(12), count = r.U32(16);
    if (!index || !start || !count || *index >= objects_.size() || !objects_[*index])
        return;
    auto *palette = std::get_if<Palette>(&*objects_[*index]);
    if (!palette || *start > 1024)
        return;
    for (quint32 i = 0; i < *count && i < 1024 && r.Has(20 + 4 * quint64(i), 4); ++i) {
        const uchar *e = r.Data() + 20 + 4 * i;
        const quint32 at = *start + i;
        if (at >= quint32(palette->entries.size()))
            palette->entries.resize(at + 1);
        palette->entries[at] = qRgb(e[0], e[1], e[2]);
    }
}

void Player::Dispatch(const Record &r)
{
    const quint32 type = r.Type();
    const auto u = [&](quint64 off) { return r.U32(off); };
    switch (type) {
    case EMR_POLYBEZIER:
        DrawPoly(r, false, Poly::Bezier);
        break;
    case EMR_POLYGON:
        DrawPoly(r, false, Poly::Polygon);
        break;
    case EMR_POLYLINE:
        DrawPoly(r, false, Poly::Polyline);
        break;
    case EMR_POLYBEZIERTO:
        DrawPoly(r, false, Poly::BezierTo);
        break;
    case EMR_POLYLINETO:
        DrawPoly(r, false, Poly::PolylineTo);
        break;
    case EMR_POLYBEZIER16:
        DrawPoly(r, true, Poly::Bezier);
        break;
    case EMR_POLYGON16:
        DrawPoly(r, true, Poly::Polygon);
        break;
    case EMR_POLYLINE16:
        DrawPoly(r, true, Poly::Polyline);
        break;
    case EMR_POLYBEZIERTO16:
        DrawPoly(r, true, Poly::BezierTo);
        break;
    case EMR_POLYLINETO16:
        DrawPoly(r, true, Poly::PolylineTo);
        break;
    case EMR_POLYPOLYLINE:
        DrawPolyPoly(r, false, false);
        break;
    case EMR_POLYPOLYGON:
        DrawPolyPoly(r, false, true);
        break;
    case EMR_POLYPOLYLINE16:
        DrawPolyPoly(r, true, false);
        break;
    case EMR_POLYPOLYGON16:
        DrawPolyPoly(r, true, true);
        break;
    case EMR_POLYDRAW:
        DrawPolyDraw(r, false);
        break;
    case EMR_POLYDRAW16:
        DrawPolyDraw(r, true);
        break;

    case EMR_SETWINDOWEXTEX:
        SetExtent(dc_.windowExt, r);
        break;
    case EMR_SETVIEWPORTEXTEX:
        SetExtent(dc_.viewportExt, r);
        break;
    case EMR_SCALEWINDOWEXTEX:
        ScaleExtent(dc_.windowExt, r);
        break;
    case EMR_SCALEVIEWPORTEXTEX:
        ScaleExtent(dc_.viewportExt, r);
        break;
    case EMR_SETWINDOWORGEX:
        if (auto pt = r.PointL(8))
            dc_.windowOrg = *pt;
        break;
    case EMR_SETVIEWPORTORGEX:
        if (auto pt = r.PointL(8))
            dc_.viewportOrg = *pt;
        break;
    case EMR_SETBRUSHORGEX:
        if (auto pt = r.PointL(8))
            dc_.brushOrigin = *pt;
        break;
    case EMR_SETMAPMODE:
        if (auto v = u(8))
            SetMapMode(int(*v));
        break;
    case EMR_SETBKMODE:
        if (auto v = u(8); v && (*v == TRANSPARENT || *v == OPAQUE))
            dc_.bkMode = int(*v);
        break;
    case EMR_SETPOLYFILLMODE:
        if (auto v = u(8); v && (*v == ALTERNATE || *v == WINDING))
            dc_.fillMode = int(*v);
        break;
    case EMR_SETROP2:
        if (auto v = u(8); v && *v >= R2_BLACK && *v <= R2_WHITE)
            dc_.rop2 = int(*v);
        break;
    case EMR_SETTEXTALIGN:
        if (auto v = u(8))
            dc_.textAlign = *v;
        break;
    case EMR_SETTEXTCOLOR:
        if (auto v = u(8))
            dc_.textColor = ColorRef(*v);
        break;
    case EMR_SETBKCOLOR:
        if (auto v = u(8))
            dc_.bkColor = ColorRef(*v);
        break;
    case EMR_SETARCDIRECTION:
        if (auto v = u(8); v && (*v == AD_COUNTERCLOCKWISE || *v == AD_CLOCKWISE))
            dc_.arcDirection = int(*v);
        break;
    case EMR_SETMITERLIMIT:
        if (auto v = u(8); v && *v >= 1 && *v < 1000)
            dc_.miterLimit = *v;
        break;
    case EMR_MOVETOEX:
        MoveTo(r);
        break;
    case EMR_LINETO:
        LineTo(r);
        break;
    case EMR_SAVEDC:
        if (saved_.size() < 10000)
            saved_.push_back(dc_);
        break;
    case EMR_RESTOREDC:
        if (auto v = r.I32(8))
            RestoreDc(*v);
        break;
    case EMR_SETWORLDTRANSFORM:
        if (auto x = r.Xform(8); x && Finite(*x))
            dc_.world = *x;
        break;
    case EMR_MODIFYWORLDTRANSFORM:
        ModifyWorld(r);
        break;

    case EMR_SELECTOBJECT:
        if (auto v = u(8))
            SelectObject(*v);
        break;
    case EMR_DELETEOBJECT:
        if (auto v = u(8); v && *v < objects_.size())
            objects_[*v].reset();
        break;
    case EMR_CREATEPEN:
        CreatePen(r);
        break;
    case EMR_EXTCREATEPEN:
        ExtCreatePen(r);
        break;
    case EMR_CREATEBRUSHINDIRECT:
        CreateBrush(r);
        break;
    case EMR_CREATEMONOBRUSH:
        CreatePatternBrush(r, true);
        break;
    case EMR_CREATEDIBPATTERNBRUSHPT:
        CreatePatternBrush(r, false);
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        CreateFont(r);
        break;
    case EMR_CREATEPALETTE:
        CreatePalette(r);
        break;
    case EMR_SETPALETTEENTRIES:
        SetPaletteEntries(r);
        break;
    case EMR_SELECTPALETTE:
        if (auto v = u(8))
            SelectObject(*v);
        break;

    case EMR_RECTANGLE:
    case EMR_ELLIPSE:
    case EMR_ROUNDRECT:
        DrawBox(r, int(type));
        break;
    case EMR_ARC:
    case EMR_ARCTO:
    case EMR_CHORD:
    case EMR_PIE:
        DrawArc(r, int(type));
        break;
    case EMR_ANGLEARC:
        AngleArc(r);
        break;
    case EMR_SETPIXELV:
        SetPixel(r);
        break;

    case EMR_BEGINPATH:
        path_ = QPainterPath();
        inPath_ = true;
        figureOpen_ = false;
        break;
    case EMR_ENDPATH:
        inPath_ = false;
        break;
    case EMR_ABORTPATH:
        path_ = QPainterPath();
        inPath_ = false;
        break;
    case EMR_CLOSEFIGURE:
        if (inPath_) {
            path_.closeSubpath();
            figureOpen_ = false;
        }
        break;
    case EMR_FILLPATH:
    case EMR_STROKEPATH:
    case EMR_STROKEANDFILLPATH:
        EndPathOp(int(type));
        break;
    case EMR_WIDENPATH:
        WidenPath();
        break;
    case EMR_FLATTENPATH:
        FlattenPath();
        break;
    case EMR_SELECTCLIPPATH:
        SelectClipPath(r);
        break;

    case EMR_INTERSECTCLIPRECT:
        ClipRect(r, false);
        break;
    case EMR_EXCLUDECLIPRECT:
        ClipRect(r, true);
        break;
    case EMR_EXTSELECTCLIPRGN:
        ExtSelectClipRgn(r);
        break;
    case EMR_OFFSETCLIPRGN:
        OffsetClip(r);
        break;
    case EMR_SETMETARGN:
        metaClip_ = dc_.clip;
        break;
    case EMR_FILLRGN:
    case EMR_FRAMERGN:
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        FillRegion(r, int(type));
        break;

    case EMR_EXTTEXTOUTA:
        ExtTextOut(r, false);
        break;
    case EMR_EXTTEXTOUTW:
        ExtTextOut(r, true);
        break;
    case EMR_POLYTEXTOUTA:
        PolyTextOut(r, false);
        break;
    case EMR_POLYTEXTOUTW:
        PolyTextOut(r, true);
        break;
    case EMR_SMALLTEXTOUT:
        SmallTextOut(r);
        break;

    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_MASKBLT:
    case EMR_TRANSPARENTBLT:
        BitBlt(r, int(type));
        break;
    case EMR_STRETCHDIBITS:
        StretchDiBits(r);
        break;
    case EMR_SETDIBITSTODEVICE:
        SetDiBitsToDevice(r);
        break;
    case EMR_ALPHABLEND:
        AlphaBlend(r);
        break;
    case EMR_GRADIENTFILL:
        GradientFill(r);
        break;

    // EMF+ records ride in comments; the plain records that follow them draw the same picture.
    case EMR_GDICOMMENT:
    default:
        break;
    }
}

} // namespace platform::emf
