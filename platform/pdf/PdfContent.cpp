#include "platform/pdf/PdfContent_p.h"

#include "platform/base/Saturate.h"
#include "platform/text/GlyphPainter.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

// Share of the area a dense brush pattern covers (Qt's Dense1Pattern to Dense7Pattern).
double DenseCoverage(Qt::BrushStyle style)
{
    static const double coverage[] = {0.94, 0.88, 0.63, 0.5, 0.37, 0.12, 0.06};
    return coverage[style - Qt::Dense1Pattern];
}

// A colour that stands for a brush PDF has no direct form for (gradients, textures).
QColor RepresentativeColor(const QBrush &brush)
{
    if (const QGradient *g = brush.gradient(); g && !g->stops().isEmpty()) {
        double r = 0, gr = 0, b = 0, a = 0;
        for (const QGradientStop &stop : g->stops()) {
            r += stop.second.redF();
            gr += stop.second.greenF();
            b += stop.second.blueF();
            a += stop.second.alphaF();
        }
        const double n = double(g->stops().size());
        return QColor::fromRgbF(float(r / n), float(gr / n), float(b / n), float(a / n));
    }
    if (!brush.textureImage().isNull()) {
        const QImage one = brush.textureImage().scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return one.pixelColor(0, 0);
    }
    return brush.color();
}

QColor PenColor(const QPen &pen)
{
    return pen.brush().style() == Qt::SolidPattern ? pen.brush().color() : RepresentativeColor(pen.brush());
}

} // namespace

void PdfNumber(std::string &out, double value)
{
    if (!std::isfinite(value))
        value = 0;
    // Thousandths in 64 bits; a value beyond them (a transform from a hostile picture) keeps its
    // sign at the largest magnitude instead of wrapping round.
    const long double thousandths = static_cast<long double>(value) * 1000.0L;
    long long v = 0;
    if (std::fabs(thousandths) < 0x1p62L) {
        // What SaturatingRound gives, without the library call that took a good part of an export:
        // the fraction left after truncation is exact, and halves go to the even neighbour.
        v = static_cast<long long>(thousandths);
        const long double rest = thousandths - static_cast<long double>(v);
        if (rest > 0.5L || (rest == 0.5L && (v & 1)))
            ++v;
        else if (rest < -0.5L || (rest == -0.5L && (v & 1)))
            --v;
    } else {
        v = SaturatingRound<long long>(thousandths);
    }
    if (v < 0) {
        out.push_back('-');
        v = v == std::numeric_limits<long long>::min() ? std::numeric_limits<long long>::max() : -v;
    }
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v / 1000);
    out.append(buf, res.ptr);
    int frac = int(v % 1000);
    if (frac) {
        out.push_back('.');
        out.push_back(char('0' + frac / 100));
        frac %= 100;
        if (frac) {
            out.push_back(char('0' + frac / 10));
            if (frac % 10)
                out.push_back(char('0' + frac % 10));
        }
    }
}

PdfContent::PdfContent(PdfResources &resources, const QTransform &pageToPdf, QSize pageSize)
    : res_(resources), pageToPdf_(pageToPdf)
{
    s_.reserve(16384);
    Raw("q ");
    for (double v :
         {pageToPdf.m11(), pageToPdf.m12(), pageToPdf.m21(), pageToPdf.m22(), pageToPdf.dx(), pageToPdf.dy()})
        Num(v);
    Raw("cm 0 0 ");
    Num(pageSize.width());
    Num(pageSize.height());
    Raw("re W n\n");
}

PdfContent::PdfContent(PdfResources &resources) : res_(resources), framed_(false)
{
    s_.reserve(16384);
}

void PdfContent::Form(const std::string &name)
{
    EndText();
    // Outside every segment the stream's state is the page's as placed and clipped, which is what
    // the form's content was written for.
    if (inSegment_)
        Raw("Q\n");
    inSegment_ = false;
    segmentDirty_ = true;
    s_.push_back('/');
    s_.append(name);
    Raw(" Do\n");
}

void PdfContent::ColorOp(const QColor &c, const char *op)
{
    Num(c.redF());
    Num(c.greenF());
    Num(c.blueF());
    Raw(op);
}

void PdfContent::EnsureSegment()
{
    if (!segmentDirty_)
        return;
    EndText();
    if (inSegment_)
        Raw("Q\n");
    Raw("q ");
    if (clipMode_ == ClipMode::Rect) {
        RectOps(clipRect_);
        Raw("W n ");
    } else if (clipMode_ == ClipMode::Path) {
        PathOps(clipPath_);
        Raw(clipPath_.fillRule() == Qt::OddEvenFill ? "W* n " : "W n ");
    }
    if (!world_.isIdentity()) {
        for (double v : {world_.m11(), world_.m12(), world_.m21(), world_.m22(), world_.dx(), world_.dy()})
            Num(v);
        Raw("cm");
    }
    s_.push_back('\n');
    inSegment_ = true;
    segmentDirty_ = false;
    fillKnown_ = false;
    fillPattern_.clear();
    strokeKnown_ = false;
    alpha_ = 1;
    textScale_ = 1; // the horizontal scale belongs to the graphics state, which Q brought back
}

void PdfContent::EndText()
{
    if (!inText_)
        return;
    CloseShow();
    Raw("ET\n");
    inText_ = false;
    textFont_ = nullptr;
}

void PdfContent::UseAlpha(double alpha)
{
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (std::abs(alpha - alpha_) < 0.001)
        return;
    s_.push_back('/');
    s_.append(res_.Opacity(alpha));
    Raw(" gs ");
    alpha_ = alpha;
}

bool PdfContent::UseFill(const QColor &color)
{
    const double alpha = opacity_ * color.alphaF();
    if (alpha <= 0.0)
        return false;
    UseAlpha(alpha);
    const QRgb rgb = color.rgb() | 0xFF000000u;
    if (!fillKnown_ || fill_ != rgb || !fillPattern_.empty()) {
        ColorOp(color, "rg ");
        fill_ = rgb;
        fillKnown_ = true;
        fillPattern_.clear();
    }
    return true;
}

bool PdfContent::UseStroke()
{
    if (pen_.style() == Qt::NoPen)
        return false;
    const QColor color = PenColor(pen_);
    const double alpha = opacity_ * color.alphaF();
    if (alpha <= 0.0)
        return false;
    UseAlpha(alpha);
    std::string style; // the whole stroke state, written only when it changed
    const auto num = [&](double v) {
        PdfNumber(style, v);
        style.push_back(' ');
    };
    num(color.redF());
    num(color.greenF());
    num(color.blueF());
    style.append("RG ");
    // A cosmetic pen is a hairline whatever the scale; PDF's width 0 is the thinnest line a device draws.
    const double width = pen_.isCosmetic() ? 0.0 : pen_.widthF();
    num(width);
    style.append("w ");
    const int cap = pen_.capStyle() == Qt::FlatCap ? 0 : pen_.capStyle() == Qt::RoundCap ? 1 : 2;
    const int join = pen_.joinStyle() == Qt::RoundJoin ? 1 : pen_.joinStyle() == Qt::BevelJoin ? 2 : 0;
    style.push_back(char('0' + cap));
    style.append(" J ");
    style.push_back(char('0' + join));
    style.append(" j ");
    if (pen_.style() != Qt::SolidLine) {
        const double unit = width > 0 ? width : 1.0;
        style.push_back('[');
        for (qreal d : pen_.dashPattern())
            num(d * unit);
        style.append("] ");
        num(pen_.dashOffset() * unit);
        style.append("d ");
    } else {
        style.append("[] 0 d ");
    }
    if (!strokeKnown_ || style != stroke_) {
        s_.append(style);
        stroke_ = std::move(style);
        strokeKnown_ = true;
    }
    return true;
}

bool PdfContent::UseBrush()
{
    const Qt::BrushStyle style = brush_.style();
    if (style == Qt::NoBrush)
        return false;
    if (style == Qt::SolidPattern)
        return UseFill(brush_.color());
    if (style >= Qt::Dense1Pattern && style <= Qt::Dense7Pattern) {
        QColor c = brush_.color();
        c.setAlphaF(float(c.alphaF() * DenseCoverage(style)));
        return UseFill(c);
    }
    if (style >= Qt::HorPattern && style <= Qt::DiagCrossPattern) {
        if (opacity_ * brush_.color().alphaF() <= 0)
            return false;
        UseAlpha(opacity_ * brush_.color().alphaF());
        const std::string name = res_.Hatch(style, brush_.color(), pageToPdf_);
        if (fillPattern_ != name) {
            Raw("/Pattern cs /");
            s_.append(name);
            Raw(" scn ");
            fillPattern_ = name;
            fillKnown_ = false;
        }
        return true;
    }
    return UseFill(RepresentativeColor(brush_));
}

void PdfContent::RectOps(const QRectF &r)
{
    Num(r.x());
    Num(r.y());
    Num(r.width());
    Num(r.height());
    Raw("re ");
}

void PdfContent::PathOps(const QPainterPath &path)
{
    const int n = path.elementCount();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            Point(e);
            Raw("m ");
        } else if (e.isLineTo()) {
            Point(e);
            Raw("l ");
        } else if (e.isCurveTo() && i + 2 < n) {
            Point(e);
            Point(path.elementAt(i + 1));
            Point(path.elementAt(i + 2));
            Raw("c ");
            i += 2;
        }
    }
}

void PdfContent::PaintPath(bool fillable, Qt::FillRule rule, const std::function<void()> &build)
{
    EnsureSegment();
    EndText();
    const bool stroke = UseStroke();
    bool fill = false;
    if (fillable && brush_.style() != Qt::NoBrush) {
        // Hatches on an opaque background lie on the background colour.
        if (bkOpaque_ && brush_.style() >= Qt::HorPattern && brush_.style() <= Qt::DiagCrossPattern &&
            UseFill(bkColor_)) {
            build();
            Raw(rule == Qt::OddEvenFill ? "f*\n" : "f\n");
        }
        fill = UseBrush();
    }
    if (!stroke && !fill)
        return;
    build();
    if (fill && stroke)
        Raw(rule == Qt::OddEvenFill ? "B*\n" : "B\n");
    else if (fill)
        Raw(rule == Qt::OddEvenFill ? "f*\n" : "f\n");
    else
        Raw("S\n");
}

void PdfContent::Decorations(const MetaRecord &r)
{
    if (!(r.value & (kTextUnderline | kTextStrikeOut)))
        return;
    qreal width = 0;
    for (quint32 g : r.glyphs)
        width += r.face->Advance(quint16(g));
    QList<QRectF> bars;
    AddDecorations(*r.face, r.origin, width * r.face->XScale(), r.value, bars);
    if (bars.isEmpty())
        return;
    EndText();
    if (!UseFill(textColor_))
        return;
    for (const QRectF &bar : bars)
        RectOps(bar);
    Raw("f\n");
}

void PdfContent::GlyphOutlines(const MetaRecord &r)
{
    EndText();
    if (!UseFill(textColor_))
        return;
    const QRawFont &raw = r.face->RawFont();
    const qreal xs = r.face->XScale();
    QPainterPath all;
    for (qsizetype i = 0; i < r.glyphs.size(); ++i) {
        if (r.face->IsBlank(quint16(r.glyphs[i])))
            continue;
        QPainterPath glyph = raw.pathForGlyph(r.glyphs[i]);
        all.addPath(QTransform(xs, 0, 0, 1, r.positions[i].x(), r.positions[i].y()).map(glyph));
    }
    if (all.isEmpty())
        return;
    PathOps(all);
    Raw("f\n");
}

void PdfContent::MoveTextTo(QPointF at)
{
    // The line matrix flips y so that glyphs stand upright in the page's y-down units; moves are
    // relative to the last line's start, mostly small whole numbers.
    if (!lineKnown_) {
        Raw("1 0 0 -1 ");
        Point(at);
        Raw("Tm ");
        lineKnown_ = true;
    } else {
        Num(at.x() - lineOrigin_.x());
        Num(lineOrigin_.y() - at.y());
        Raw("Td ");
    }
    lineOrigin_ = at;
}

void PdfContent::GlyphString(const char *glyphs, qsizetype count)
{
    // A literal string of glyph codes; only the delimiters, the escape and CR need escaping (a bare CR
    // would be read as a line end).
    s_.push_back('(');
    for (qsizetype i = 0; i < count; ++i) {
        const char c = glyphs[i];
        if (c == '(' || c == ')' || c == '\\') {
            s_.push_back('\\');
            s_.push_back(c);
        } else if (c == '\r') {
            s_.append("\\r");
        } else {
            s_.push_back(c);
        }
    }
    s_.push_back(')');
}

void PdfContent::FlushGlyphs()
{
    if (glyphs_.empty())
        return;
    GlyphString(glyphs_.data(), qsizetype(glyphs_.size()));
    glyphs_.clear();
}

void PdfContent::CloseShow()
{
    if (!showOpen_)
        return;
    FlushGlyphs();
    Raw("] TJ\n");
    showOpen_ = false;
}

bool PdfContent::FillIs(const QColor &color) const
{
    return fillKnown_ && fillPattern_.empty() && fill_ == (color.rgb() | 0xFF000000u) &&
           std::abs(alpha_ - std::clamp(opacity_ * color.alphaF(), 0.0, 1.0)) < 0.001;
}

QList<bool> PdfContent::ShownGlyphs(const MetaRecord &r) const
{
    // Text the clip hides wholly is left out, so that it is neither found nor copied; a glyph of which
    // any part shows is kept.
    if (clipMode_ == ClipMode::None || r.glyphs.isEmpty())
        return {};
    const auto visible = [&](const QRectF &box) {
        return clipMode_ == ClipMode::Rect ? box.intersects(clipRect_) : clipPath_.intersects(box);
    };
    const auto contained = [&](const QRectF &box) {
        return clipMode_ == ClipMode::Rect ? clipRect_.contains(box) : clipPath_.contains(box);
    };
    const qreal xs = r.face->XScale();
    const qreal top = r.face->AscentF(), height = top + r.face->DescentF();
    const auto box = [&](qsizetype i) {
        const qreal width = std::max<qreal>(r.face->Advance(quint16(r.glyphs[i])) * xs, 0.01);
        return QRectF(r.positions[i].x(), r.positions[i].y() - top, width, height);
    };
    QRectF all;
    if (height > 0) {
        // Every box is upright and wider than nothing, so their union is the extremes' box: found
        // without building each rectangle, which every run of a clipped page would.
        qreal left = r.positions[0].x(), right = left, low = r.positions[0].y(), high = low;
        for (qsizetype i = 0; i < r.glyphs.size(); ++i) {
            const qreal x = r.positions[i].x(), y = r.positions[i].y();
            left = std::min(left, x);
            right = std::max(right, x + std::max<qreal>(r.face->Advance(quint16(r.glyphs[i])) * xs, 0.01));
            low = std::min(low, y);
            high = std::max(high, y);
        }
        all = QRectF(left, low - top, right - left, high - low + height);
    } else {
        for (qsizetype i = 0; i < r.glyphs.size(); ++i)
            all |= box(i);
    }
    all = world_.mapRect(all);
    if (contained(all))
        return {};
    QList<bool> shown(r.glyphs.size(), false);
    if (visible(all))
        for (qsizetype i = 0; i < r.glyphs.size(); ++i)
            shown[i] = visible(world_.mapRect(box(i)));
    return shown;
}

void PdfContent::Text(const MetaRecord &r)
{
    if (!r.face || r.glyphs.size() != r.positions.size())
        return;
    EnsureSegment();
    PdfFontUse *font = res_.Font(r.face);
    if (!font) {
        GlyphOutlines(r);
        Decorations(r);
        return;
    }
    const QList<bool> shown = ShownGlyphs(r);
    if (r.glyphs.isEmpty() || (!shown.isEmpty() && !shown.contains(true))) {
        Decorations(r);
        return;
    }
    const double size = r.face->PixelSize();
    const double xs = r.face->XScale();
    // Runs in the same look on the baseline of the open TJ array join it (runs merged): a field after
    // a field costs one number instead of a move and a new show.
    const bool join = showOpen_ && textFont_ == font && textSize_ == size && std::abs(textScale_ - xs) < 1e-6 &&
                      FillIs(textColor_) && std::abs(r.positions.front().y() - penY_) < 0.001;
    if (!join) {
        CloseShow();
        if (!inText_) {
            Raw("BT\n");
            inText_ = true;
            textFont_ = nullptr;
            lineKnown_ = false;
        }
        if (!UseFill(textColor_)) {
            Decorations(r);
            return;
        }
        if (textFont_ != font || textSize_ != size) {
            s_.push_back('/');
            s_.append(font->name);
            s_.push_back(' ');
            Num(size);
            Raw("Tf ");
            textFont_ = font;
            textSize_ = size;
        }
        if (std::abs(textScale_ - xs) > 1e-6) {
            Num(xs * 100);
            Raw("Tz ");
            textScale_ = xs;
        }
    }
    // One character a glyph: straight from the UTF-16 text unless a pair stands for a character.
    const bool paired = std::any_of(r.text.cbegin(), r.text.cend(), [](QChar c) { return c.isSurrogate(); });
    const QList<uint> codes = paired ? r.text.toUcs4() : QList<uint>();
    const bool withText = (paired ? codes.size() : r.text.size()) == r.glyphs.size();
    const double hsize = size * xs;
    // Shifts smaller than this (a thousandth of a millimetre on paper) are left to accumulate until
    // they matter.
    constexpr double kSlack = 0.05;
    // The pen in locals: the glyph bytes written on the way could alias the members, which would
    // then go through memory for every glyph.
    double penX = penX_, penY = penY_;
    bool open = showOpen_;
    for (qsizetype i = 0; i < r.glyphs.size(); ++i) {
        if (!shown.isEmpty() && !shown[i])
            continue;
        const quint16 g = quint16(r.glyphs[i]);
        const QPointF at = r.positions[i];
        if (!open || std::abs(at.y() - penY) > 0.001) {
            CloseShow();
            MoveTextTo(at);
            Raw("[");
            showOpen_ = open = true;
            penX = at.x();
            penY = at.y();
        } else if (const double delta = at.x() - penX; std::abs(delta) > kSlack) {
            // Whole thousandths of the em are fine enough; the pen follows the rounded shift.
            FlushGlyphs();
            const double shift = std::round(-delta / hsize * 1000.0);
            PdfNumber(s_, shift);
            penX -= shift / 1000.0 * hsize;
        }
        font->file->AppendCode(g, glyphs_);
        font->Use(g, !withText ? 0 : paired ? char32_t(codes[i]) : char32_t(r.text[i].unicode()));
        penX += font->face->Advance(g) * xs; // the width the font declares, in page units
    }
    penX_ = penX;
    penY_ = penY;
    Decorations(r);
}

void PdfContent::PlaceImage(const QRectF &target, const QImage &image)
{
    if (image.isNull() || target.isEmpty())
        return;
    UseAlpha(opacity_);
    const std::string name = res_.Image(image);
    Raw("q ");
    Num(target.width());
    Raw("0 0 ");
    Num(-target.height());
    Num(target.x());
    Num(target.y() + target.height());
    Raw("cm /");
    s_.append(name);
    Raw(" Do Q\n");
}

void PdfContent::Add(const MetaRecord &r)
{
    switch (r.type) {
    case EmrHeader:
    case EmrSetTextColor:
        textColor_ = r.color;
        return;
    case EmrSetBkColor:
        bkColor_ = r.color;
        return;
    case EmrSetBkMode:
        bkOpaque_ = r.value == 2;
        return;
    case RecSetOpacity:
        opacity_ = r.opacity;
        return;
    case EmrSetWorldTransform:
        if (r.transform != world_) {
            world_ = r.transform;
            segmentDirty_ = true;
        }
        return;
    case EmrExtSelectClipRgn:
        // Pages only hold clip records of a known mode: decoding refuses the others.
        clipMode_ = ClipModeOf(r.value).value_or(ClipMode::None);
        clipRect_ = r.rect;
        clipPath_ = r.path;
        segmentDirty_ = true;
        return;
    case EmrCreatePen:
    case EmrExtCreatePen:
        pen_ = r.pen;
        return;
    case EmrCreateBrushIndirect:
    case EmrCreatePatternBrush:
        brush_ = r.brush;
        return;
    case EmrExtTextOutW:
        Text(r);
        return;
    default:
        break;
    }
    switch (r.type) {
    case EmrPolygon:
        PaintPath(true, r.value == Qt::WindingFill ? Qt::WindingFill : Qt::OddEvenFill, [&] {
            for (qsizetype i = 0; i < r.points.size(); ++i) {
                Point(r.points[i]);
                Raw(i == 0 ? "m " : "l ");
            }
            Raw("h ");
        });
        return;
    case EmrPolyline:
        if (r.points.size() < 2)
            return;
        PaintPath(false, Qt::OddEvenFill, [&] {
            for (qsizetype i = 0; i < r.points.size(); ++i) {
                Point(r.points[i]);
                Raw(i == 0 ? "m " : "l ");
            }
        });
        return;
    case EmrPolyPolyline:
        PaintPath(false, Qt::OddEvenFill, [&] {
            for (const QLineF &l : r.lines) {
                Point(l.p1());
                Raw("m ");
                Point(l.p2());
                Raw("l ");
            }
        });
        return;
    case EmrRectangle:
        PaintPath(true, Qt::OddEvenFill, [&] {
            for (const QRectF &rect : r.rects)
                RectOps(rect);
        });
        return;
    case EmrEllipse:
        PaintPath(true, Qt::OddEvenFill, [&] {
            QPainterPath p;
            p.addEllipse(r.rect);
            PathOps(p);
            Raw("h ");
        });
        return;
    case EmrStrokeAndFillPath:
        PaintPath(true, r.path.fillRule(), [&] { PathOps(r.path); });
        return;
    case EmrSetPixelV:
        EnsureSegment();
        EndText();
        if (pen_.style() != Qt::NoPen && UseFill(PenColor(pen_))) {
            for (const QPointF &p : r.points)
                RectOps(QRectF(p.x() - 0.5, p.y() - 0.5, 1, 1));
            Raw("f\n");
        }
        return;
    case RecTextPath:
        EnsureSegment();
        EndText();
        if (UseFill(textColor_)) {
            PathOps(r.path);
            Raw(r.path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n");
        }
        return;
    case EmrStretchDIBits: {
        EnsureSegment();
        EndText();
        const QRect source = r.source.toAlignedRect().intersected(r.image.rect());
        PlaceImage(r.rect, source == r.image.rect() || source.isEmpty() ? r.image : r.image.copy(source));
        return;
    }
    case RecTiledImage: {
        EnsureSegment();
        EndText();
        const QSizeF tile = r.image.size();
        if (tile.isEmpty() || r.rect.isEmpty())
            return;
        UseAlpha(opacity_); // before q, so that the state noted stays true after Q
        Raw("q ");
        RectOps(r.rect);
        Raw("W n\n");
        const qreal startX = r.rect.x() - std::fmod(r.point.x(), tile.width());
        const qreal startY = r.rect.y() - std::fmod(r.point.y(), tile.height());
        for (qreal y = startY; y < r.rect.bottom(); y += tile.height())
            for (qreal x = startX; x < r.rect.right(); x += tile.width())
                PlaceImage(QRectF(QPointF(x, y), tile), r.image);
        Raw("Q\n");
        return;
    }
    default:
        return; // render hints and raster operations have no PDF counterpart
    }
}

std::string PdfContent::Finish()
{
    EndText();
    if (inSegment_)
        Raw("Q\n");
    if (framed_)
        Raw("Q\n");
    inSegment_ = false;
    return std::move(s_);
}

} // namespace platform
