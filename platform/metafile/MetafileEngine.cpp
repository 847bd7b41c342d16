#include "platform/metafile/MetafileEngine_p.h"

#include "platform/base/Saturate.h"
#include "platform/metafile/RecordCodec_p.h"
#include "platform/text/FontFallback.h"
#include "platform/text/GlyphPainter.h"

#include <QPainter>
#include <QPixmap>
#include <QTextItem>
#include <QVarLengthArray>

#include <cmath>

namespace platform {

namespace {

// A path that is one axis-parallel rectangle (as QPainter builds for a rectangular clip).
bool IsRectPath(const QPainterPath &path, QRectF &rect)
{
    const int n = path.elementCount();
    if (n != 5 && n != 4)
        return false;
    const QPainterPath::Element e0 = path.elementAt(0);
    if (!e0.isMoveTo())
        return false;
    for (int i = 1; i < n; ++i)
        if (!path.elementAt(i).isLineTo())
            return false;
    const QPointF p0 = e0, p1 = path.elementAt(1), p2 = path.elementAt(2), p3 = path.elementAt(3);
    if (n == 5 && QPointF(path.elementAt(4)) != p0)
        return false;
    const bool horizontalFirst = p0.y() == p1.y() && p1.x() == p2.x() && p2.y() == p3.y() && p3.x() == p0.x();
    const bool verticalFirst = p0.x() == p1.x() && p1.y() == p2.y() && p2.x() == p3.x() && p3.y() == p0.y();
    if (!horizontalFirst && !verticalFirst)
        return false;
    rect = QRectF(p0, p2).normalized();
    return true;
}

DeviceClip ClipFromPath(const QPainterPath &path, const QTransform &t)
{
    DeviceClip c;
    QRectF r;
    if (t.type() <= QTransform::TxScale && IsRectPath(path, r)) {
        c.mode = ClipMode::Rect;
        c.rect = t.mapRect(r);
    } else {
        c.mode = ClipMode::Path;
        c.path = t.map(path);
    }
    return c;
}

DeviceClip ClipFromRegion(const QRegion &region, const QTransform &t)
{
    DeviceClip c;
    if (region.rectCount() <= 1 && t.type() <= QTransform::TxScale) {
        c.mode = ClipMode::Rect;
        c.rect = t.mapRect(WideRectF(region.boundingRect()));
    } else {
        QPainterPath p;
        p.addRegion(region);
        c.mode = ClipMode::Path;
        c.path = t.map(p);
    }
    return c;
}

DeviceClip Intersect(const DeviceClip &a, const DeviceClip &b)
{
    if (a.mode == ClipMode::None)
        return b;
    if (b.mode == ClipMode::None)
        return a;
    DeviceClip c;
    if (a.mode == ClipMode::Rect && b.mode == ClipMode::Rect) {
        c.mode = ClipMode::Rect;
        c.rect = a.rect.intersected(b.rect);
        if (c.rect.isEmpty())
            c.rect = QRectF(a.rect.topLeft(), QSizeF(0, 0));
        return c;
    }
    QPainterPath pa, pb;
    if (a.mode == ClipMode::Rect)
        pa.addRect(a.rect);
    else
        pa = a.path;
    if (b.mode == ClipMode::Rect)
        pb.addRect(b.rect);
    else
        pb = b.path;
    c.mode = ClipMode::Path;
    c.path = pa.intersected(pb);
    return c;
}

QColor PenColor(const QPen &pen)
{
    return pen.brush().style() == Qt::SolidPattern ? pen.brush().color() : pen.color();
}

// A finished page may be read on another thread while later pages are recorded (the text of a
// printout is taken that way): its glyphs are measured as they are recorded, so that reading the
// page only looks up a face's advances and never fills its cache.
template <typename Glyph> void MeasureGlyphs(const FontFace &face, const Glyph *glyphs, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        face.Advance(quint16(glyphs[i]));
}

} // namespace

MetafileEngine::MetafileEngine(PageMetafile *owner) : GlyphRecorder(AllFeatures), owner_(owner) {}

MetafileData &MetafileEngine::Data()
{
    return shared_ ? *shared_ : *owner_->d; // the page's detaches from copies before the first change
}

void MetafileEngine::ResetRecordedState()
{
    rec_ = Recorded();
    faceIndex_.Clear();
}

bool MetafileEngine::begin(QPaintDevice *)
{
    rec_ = Recorded();
    faceIndex_.Clear();
    const MetafileData &data = *owner_->d;
    for (int i = 0; i < data.faces.size(); ++i)
        faceIndex_.Insert(data.faces[i].get(), i);
    lastFace_.reset();
    lastFont_ = QFont();
    pen_ = QPen();
    brush_ = QBrush();
    transform_ = QTransform();
    clip_ = DeviceClip();
    clipEnabled_ = false;
    brushOrigin_ = QPointF();
    bkColor_ = Qt::white;
    bkMode_ = Qt::TransparentMode;
    hints_ = 0;
    composition_ = 0;
    opacity_ = 1;
    commonChanged_ = true;
    setActive(true);
    return true;
}

bool MetafileEngine::end()
{
    Data().stream.squeeze();
    setActive(false);
    return true;
}

void MetafileEngine::updateState(const QPaintEngineState &s)
{
    const DirtyFlags f = s.state();
    if (f & (DirtyBackground | DirtyBackgroundMode | DirtyTransform | DirtyHints | DirtyCompositionMode | DirtyOpacity |
             DirtyClipRegion | DirtyClipPath | DirtyClipEnabled))
        commonChanged_ = true;
    if (f & DirtyPen)
        pen_ = s.pen();
    if (f & DirtyBrush)
        brush_ = s.brush();
    if (f & DirtyBrushOrigin)
        brushOrigin_ = s.brushOrigin();
    if (f & DirtyBackground)
        bkColor_ = s.backgroundBrush().color();
    if (f & DirtyBackgroundMode)
        bkMode_ = s.backgroundMode();
    if (f & DirtyTransform)
        transform_ = s.transform();
    if (f & DirtyHints)
        hints_ = int(s.renderHints());
    if (f & DirtyCompositionMode)
        composition_ = int(s.compositionMode());
    if (f & DirtyOpacity)
        opacity_ = s.opacity();
    // Clips are kept in page units, taken through the transform in force when they were set.
    if (f & DirtyClipRegion)
        ApplyClip(ClipFromRegion(s.clipRegion(), s.transform()), s.clipOperation());
    if (f & DirtyClipPath)
        ApplyClip(ClipFromPath(s.clipPath(), s.transform()), s.clipOperation());
    if (f & DirtyClipEnabled)
        clipEnabled_ = s.isClipEnabled();
}

void MetafileEngine::ApplyClip(const DeviceClip &clip, Qt::ClipOperation op)
{
    switch (op) {
    case Qt::NoClip:
        clip_ = DeviceClip();
        clipEnabled_ = false;
        break;
    case Qt::ReplaceClip:
        clip_ = clip;
        clipEnabled_ = true;
        break;
    case Qt::IntersectClip:
        clip_ = clipEnabled_ ? Intersect(clip_, clip) : clip;
        clipEnabled_ = true;
        break;
    }
}

void MetafileEngine::SyncPainterState()
{
    // The painter hands state over lazily before it draws; text recorded by DrawTextEx bypasses the
    // painter, so take what is pending. The painter hands the same flags over again later; recording
    // them twice changes nothing because a record is only written when its value changes.
    if (state && state->state())
        updateState(*state);
}

void MetafileEngine::Emit(const MetaRecord &record)
{
    EncodeRecord(Data(), record);
}

void MetafileEngine::EnsureCommon()
{
    if (rec_.known && !commonChanged_)
        return;
    commonChanged_ = false;
    const bool first = !rec_.known;
    rec_.known = true;
    if (first || transform_ != rec_.transform) {
        scratch_.type = EmrSetWorldTransform;
        scratch_.transform = transform_;
        Emit(scratch_);
        rec_.transform = transform_;
    }
    const DeviceClip clip = clipEnabled_ ? clip_ : DeviceClip();
    if (first || !(clip == rec_.clip)) {
        scratch_.type = EmrExtSelectClipRgn;
        scratch_.value = static_cast<qint32>(clip.mode);
        scratch_.rect = clip.rect;
        scratch_.path = clip.path;
        Emit(scratch_);
        rec_.clip = clip;
        scratch_.path = QPainterPath();
    }
    if (first || hints_ != rec_.hints) {
        scratch_.type = RecSetRenderHints;
        scratch_.value = hints_;
        Emit(scratch_);
        rec_.hints = hints_;
    }
    if (first || composition_ != rec_.composition) {
        scratch_.type = EmrSetRop2;
        scratch_.value = composition_;
        Emit(scratch_);
        rec_.composition = composition_;
    }
    if (first || opacity_ != rec_.opacity) {
        scratch_.type = RecSetOpacity;
        scratch_.opacity = opacity_;
        Emit(scratch_);
        rec_.opacity = opacity_;
    }
    const int bkMode = bkMode_ == Qt::OpaqueMode ? 2 : 1;
    if (first || bkMode != rec_.bkMode) {
        scratch_.type = EmrSetBkMode;
        scratch_.value = bkMode;
        Emit(scratch_);
        rec_.bkMode = bkMode;
    }
    if (first || bkColor_.rgba() != rec_.bkColor) {
        scratch_.type = EmrSetBkColor;
        scratch_.color = bkColor_;
        Emit(scratch_);
        rec_.bkColor = bkColor_.rgba();
    }
}

void MetafileEngine::EnsurePen()
{
    if (rec_.penKnown && rec_.pen == pen_ && rec_.pen.isCosmetic() == pen_.isCosmetic())
        return;
    rec_.penKnown = true;
    scratch_.type = IsPlainPen(pen_) ? EmrCreatePen : EmrExtCreatePen;
    scratch_.pen = pen_;
    Emit(scratch_);
    rec_.pen = pen_;
}

void MetafileEngine::EnsureBrush()
{
    if (rec_.brushKnown && rec_.brush == brush_ && rec_.brush.transform() == brush_.transform() &&
        rec_.brushOrigin == brushOrigin_)
        return;
    rec_.brushKnown = true;
    scratch_.type = IsPlainBrush(brush_) ? EmrCreateBrushIndirect : EmrCreatePatternBrush;
    scratch_.brush = brush_;
    Emit(scratch_);
    rec_.brush = brush_;
    if (!rec_.brushOriginKnown || rec_.brushOrigin != brushOrigin_) {
        rec_.brushOriginKnown = true;
        scratch_.type = EmrSetBrushOrgEx;
        scratch_.point = brushOrigin_;
        Emit(scratch_);
        rec_.brushOrigin = brushOrigin_;
    }
}

void MetafileEngine::EnsureTextColor(const QColor &color)
{
    if (rec_.textColorKnown && rec_.textColor == color.rgba())
        return;
    scratch_.type = EmrSetTextColor;
    scratch_.color = color;
    Emit(scratch_);
    rec_.textColor = color.rgba();
    rec_.textColorKnown = true;
}

int MetafileEngine::FaceIndex(const std::shared_ptr<const FontFace> &face)
{
    if (const int known = faceIndex_.Find(face.get()); known >= 0)
        return known;
    MetafileData &data = Data();
    const int index = int(data.faces.size());
    data.faces.append(face);
    faceIndex_.Insert(face.get(), index);
    return index;
}

void MetafileEngine::RecordText(const std::shared_ptr<const FontFace> &face, const QColor &color, QPointF origin,
                                const quint16 *glyphs, int count, int flags, QStringView text)
{
    if (!face || (count <= 0 && !(flags & (kTextUnderline | kTextStrikeOut))))
        return;
    MeasureGlyphs(*face, glyphs, count);
    SyncPainterState();
    EnsureCommon();
    EnsureTextColor(color);
    EncodeText(Data(), FaceIndex(face), flags, origin, glyphs, count, nullptr, text);
}

void MetafileEngine::RecordPositionedText(const std::shared_ptr<const FontFace> &face, const QColor &color,
                                          const QList<quint32> &glyphs, const QList<QPointF> &positions,
                                          const QList<QRectF> &decorations, const QList<char32_t> &codes)
{
    if (!face || glyphs.size() != positions.size())
        return;
    MeasureGlyphs(*face, glyphs.constData(), glyphs.size());
    SyncPainterState();
    EnsureCommon();
    EnsureTextColor(color);
    const int faceIndex = FaceIndex(face);
    QVarLengthArray<quint16, 256> ids;
    QVarLengthArray<float, 256> dx;
    QVarLengthArray<char32_t, 256> chars;
    const bool withCodes = codes.size() == glyphs.size();
    // One record per baseline: a played page hands over the runs of several lines at once.
    for (qsizetype i = 0; i < glyphs.size();) {
        const QPointF origin = positions[i];
        ids.clear();
        dx.clear();
        chars.clear();
        bool known = withCodes;
        qsizetype j = i;
        for (; j < glyphs.size() && positions[j].y() == origin.y() && j - i < 0xFFFF; ++j) {
            ids.append(quint16(glyphs[j]));
            dx.append(float(positions[j].x() - origin.x()));
            if (withCodes) {
                chars.append(codes[j]);
                known = known && codes[j] != 0;
            }
        }
        // The characters go along only when every glyph of the record has its own.
        const QString text = known ? QString::fromUcs4(chars.constData(), chars.size()) : QString();
        EncodeText(Data(), faceIndex, 0, origin, ids.constData(), int(ids.size()), dx.constData(), text);
        i = j;
    }
    if (!decorations.isEmpty()) {
        MetaRecord r;
        r.type = RecTextPath;
        for (const QRectF &bar : decorations)
            r.path.addRect(bar);
        Emit(r);
    }
}

void MetafileEngine::RecordRects(QList<QRectF> rects, bool integer)
{
    if (rects.isEmpty())
        return;
    EnsureCommon();
    EnsurePen();
    EnsureBrush();
    MetaRecord r;
    r.type = EmrRectangle;
    r.integer = integer;
    r.rects = std::move(rects);
    Emit(r);
}

void MetafileEngine::RecordLines(QList<QLineF> lines, bool integer)
{
    if (lines.isEmpty())
        return;
    EnsureCommon();
    EnsurePen();
    MetaRecord r;
    r.type = EmrPolyPolyline;
    r.integer = integer;
    r.lines = std::move(lines);
    Emit(r);
}

void MetafileEngine::RecordEllipse(const QRectF &rect, bool integer)
{
    EnsureCommon();
    EnsurePen();
    EnsureBrush();
    MetaRecord r;
    r.type = EmrEllipse;
    r.integer = integer;
    r.rect = rect;
    Emit(r);
}

void MetafileEngine::RecordPoints(QList<QPointF> points, bool integer)
{
    if (points.isEmpty())
        return;
    EnsureCommon();
    EnsurePen();
    MetaRecord r;
    r.type = EmrSetPixelV;
    r.integer = integer;
    r.points = std::move(points);
    Emit(r);
}

void MetafileEngine::RecordPolygon(QList<QPointF> points, PolygonDrawMode mode, bool integer)
{
    if (points.isEmpty())
        return;
    EnsureCommon();
    EnsurePen();
    MetaRecord r;
    if (mode == PolylineMode) {
        r.type = EmrPolyline;
    } else {
        EnsureBrush();
        r.type = EmrPolygon;
        r.value = mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill;
    }
    r.integer = integer;
    r.points = std::move(points);
    Emit(r);
}

// Qt's integer and floating-point calls rasterise differently, so each is kept as it came.
void MetafileEngine::drawRects(const QRect *rects, int rectCount)
{
    QList<QRectF> list(qMax(0, rectCount));
    for (int i = 0; i < rectCount; ++i)
        list[i] = WideRectF(rects[i]);
    RecordRects(std::move(list), true);
}

void MetafileEngine::drawRects(const QRectF *rects, int rectCount)
{
    RecordRects(QList<QRectF>(rects, rects + qMax(0, rectCount)), false);
}

void MetafileEngine::drawLines(const QLine *lines, int lineCount)
{
    QList<QLineF> list(qMax(0, lineCount));
    for (int i = 0; i < lineCount; ++i)
        list[i] = QLineF(lines[i]);
    RecordLines(std::move(list), true);
}

void MetafileEngine::drawLines(const QLineF *lines, int lineCount)
{
    RecordLines(QList<QLineF>(lines, lines + qMax(0, lineCount)), false);
}

void MetafileEngine::drawEllipse(const QRectF &rect)
{
    RecordEllipse(rect, false);
}

void MetafileEngine::drawEllipse(const QRect &rect)
{
    RecordEllipse(WideRectF(rect), true);
}

void MetafileEngine::drawPath(const QPainterPath &path)
{
    EnsureCommon();
    MetaRecord r;
    if (inTextFallback_) {
        // Glyphs that came without their text are filled as outlines, in the text colour so that
        // colour changes of text reach them.
        EnsureTextColor(brush_.color());
        r.type = RecTextPath;
    } else {
        EnsurePen();
        EnsureBrush();
        r.type = EmrStrokeAndFillPath;
    }
    r.path = path;
    Emit(r);
}

void MetafileEngine::drawPoints(const QPointF *points, int pointCount)
{
    RecordPoints(QList<QPointF>(points, points + qMax(0, pointCount)), false);
}

void MetafileEngine::drawPoints(const QPoint *points, int pointCount)
{
    QList<QPointF> list(qMax(0, pointCount));
    for (int i = 0; i < pointCount; ++i)
        list[i] = QPointF(points[i]);
    RecordPoints(std::move(list), true);
}

void MetafileEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    RecordPolygon(QList<QPointF>(points, points + qMax(0, pointCount)), mode, false);
}

void MetafileEngine::drawPolygon(const QPoint *points, int pointCount, PolygonDrawMode mode)
{
    QList<QPointF> list(qMax(0, pointCount));
    for (int i = 0; i < pointCount; ++i)
        list[i] = QPointF(points[i]);
    RecordPolygon(std::move(list), mode, true);
}

void MetafileEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr)
{
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

void MetafileEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags flags)
{
    if (image.isNull())
        return;
    EnsureCommon();
    MetaRecord rec;
    rec.type = EmrStretchDIBits;
    rec.rect = r;
    rec.source = sr;
    rec.image = image;
    rec.value = int(flags);
    Emit(rec);
}

void MetafileEngine::drawTiledPixmap(const QRectF &r, const QPixmap &pixmap, const QPointF &s)
{
    if (pixmap.isNull())
        return;
    EnsureCommon();
    MetaRecord rec;
    rec.type = RecTiledImage;
    rec.rect = r;
    rec.point = s;
    rec.image = pixmap.toImage();
    Emit(rec);
}

void MetafileEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    const QString text = textItem.text();
    const auto asOutlines = [&] {
        // The base engine turns the item's own glyphs into outlines, which we keep as text-coloured
        // paths: exact, only bigger than glyph records.
        inTextFallback_ = true;
        QPaintEngine::drawTextItem(p, textItem);
        inTextFallback_ = false;
    };
    if (text.isEmpty()) {
        asOutlines(); // glyph runs and static text reach an engine without their characters
        return;
    }
    const QFont font = textItem.font();
    if (!lastFace_ || !(font == lastFont_)) {
        lastFace_ = FontFace::ForQFont(font);
        lastFont_ = font;
    }
    const FontFace &face = *lastFace_;

    // Characters the face has no glyph for are drawn with the face the system falls back to, so that
    // each keeps its glyph and its place in the page's text; a run of records, one per face.
    QVarLengthArray<quint16, 128> glyphs;
    QVarLengthArray<float, 128> advances;
    QVarLengthArray<bool, 128> isSpace;
    QVarLengthArray<char32_t, 128> codes;
    QVarLengthArray<quint8, 128> faces; // 0 the item's face, k the k-th of fallbacks
    std::vector<std::shared_ptr<const FontFace>> fallbacks;
    const QChar *chars = text.constData();
    const qsizetype n = text.size();
    qreal natural = 0;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = chars[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && chars[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), chars[++i].unicode());
        quint8 used = 0;
        FontFace::Glyph g = face.Lookup(c);
        if (g.index == 0 && c >= 0x20) {
            if (std::shared_ptr<const FontFace> other = FallbackFace(face, c)) {
                const auto known = std::find(fallbacks.begin(), fallbacks.end(), other);
                if (known != fallbacks.end()) {
                    used = quint8(known - fallbacks.begin() + 1);
                } else if (fallbacks.size() < 255) {
                    fallbacks.push_back(std::move(other));
                    used = quint8(fallbacks.size());
                }
                if (used)
                    g = fallbacks[used - 1]->Lookup(c);
            }
        }
        const FontFace &usedFace = used ? *fallbacks[used - 1] : face;
        faces.append(used);
        codes.append(c);
        glyphs.append(g.index);
        advances.append(float(g.advance * usedFace.XScale()));
        isSpace.append(c == U' ' || c == 0xA0);
        natural += advances.back();
    }
    const int count = int(glyphs.size());
    if (textItem.renderFlags() & QTextItem::RightToLeft) {
        std::reverse(glyphs.begin(), glyphs.end());
        std::reverse(advances.begin(), advances.end());
        std::reverse(isSpace.begin(), isSpace.end());
        std::reverse(codes.begin(), codes.end());
        std::reverse(faces.begin(), faces.end());
    }

    // The item gives only its total width; where the layout widened or narrowed it (justification,
    // kerning, spacing) spread the difference: over the blanks when it grew, else evenly.
    const qreal width = textItem.width();
    const qreal diff = width - natural;
    QVarLengthArray<float, 128> xs;
    const bool spread = count > 0 && std::abs(diff) > 0.01;
    {
        const int spaces = int(std::count(isSpace.begin(), isSpace.end(), true));
        const bool toSpaces = diff > 0 && spaces > 0;
        const qreal scale = spread && natural > 0 ? width / natural : 1.0;
        const qreal perSpace = spread && toSpaces ? diff / spaces : 0;
        qreal x = 0;
        for (int i = 0; i < count; ++i) {
            xs.append(float(x));
            x += spread && toSpaces ? advances[i] + (isSpace[i] ? perSpace : 0) : advances[i] * scale;
        }
    }

    EnsureCommon();
    EnsureTextColor(PenColor(pen_));
    QVarLengthArray<float, 128> dx;
    for (int start = 0, end = 0; start < count; start = end) {
        while (end < count && faces[end] == faces[start])
            ++end;
        const std::shared_ptr<const FontFace> &runFace = faces[start] ? fallbacks[faces[start] - 1] : lastFace_;
        const float x0 = xs[start];
        dx.clear();
        if (spread)
            for (int i = start; i < end; ++i)
                dx.append(xs[i] - x0);
        const QString shown = QString::fromUcs4(codes.constData() + start, end - start);
        EncodeText(Data(), FaceIndex(runFace), 0, p + QPointF(x0, 0), glyphs.constData() + start, end - start,
                   dx.isEmpty() ? nullptr : dx.constData(), shown);
    }
}

} // namespace platform
