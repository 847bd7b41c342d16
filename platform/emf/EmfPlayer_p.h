#pragma once
// The EMF player: walks the records of a picture and keeps the device-context state machine of
// the format (mapping, transforms, objects, clipping, paths), drawing each record on a QPainter.
#include "platform/emf/EmfDib.h"
#include "platform/emf/EmfObjects_p.h"
#include "platform/emf/EmfPicture.h"
#include "platform/emf/EmfRecord_p.h"

#include <QPainter>
#include <vector>

namespace platform::emf {

// Playback stops when a picture has asked for this much work: one unit a record, a point, a
// glyph or 4 decoded pixels. Real pictures stay far below; a crafted one could otherwise keep
// the program drawing for minutes (millions of records with clips over complex regions, say).
inline constexpr qint64 kMaxWork = 40'000'000;

class Player {
public:
    Player(const QByteArray &bytes, const TEmfHeader &header, QPainter &painter, const QRectF &target);
    void Play();
    // Bitmaps decoded are looked up in and added to cache (not owned), when one is given.
    void SetDibCache(DibCache *cache) { dibs_ = cache; }

private:
    // EmfPlayer.cpp: dispatch and the state machine
    void Dispatch(const Record &r);
    QTransform PageTransform() const;
    QTransform LogicalToDevice() const;
    void SetMapMode(int mode);
    void SetExtent(QSizeF &extent, const Record &r);
    void ScaleExtent(QSizeF &extent, const Record &r);
    void ModifyWorld(const Record &r);
    void SelectObject(quint32 index);
    void StoreObject(quint32 index, Object object);
    const Object *ObjectAt(quint32 index) const;
    void RestoreDc(qint32 which);
    QColor ColorRef(quint32 value) const;
    Pen StockPen(quint32 which) const;
    Brush StockBrush(quint32 which) const;
    Font StockFont(quint32 which) const;
    void CreatePen(const Record &r);
    void ExtCreatePen(const Record &r);
    void CreateBrush(const Record &r);
    void CreatePatternBrush(const Record &r, bool mono);
    void CreateFont(const Record &r);
    void CreatePalette(const Record &r);
    void SetPaletteEntries(const Record &r);

    // EmfPaint.cpp: drawing state onto the painter, pens, brushes, clipping and regions
    bool BeginDraw();
    // BeginDraw for bitmaps and text, which ignore the mix mode (ROP2).
    bool BeginCopyDraw();
    void ApplyClip();
    QPen MakePen() const;
    QBrush MakeBrush(const Brush &brush) const;
    ClipArea DeviceArea(const QPainterPath &logical) const;
    void ClipRect(const Record &r, bool exclude);
    void ExtSelectClipRgn(const Record &r);
    void OffsetClip(const Record &r);
    std::optional<QPainterPath> RegionPath(const Record &r, quint64 offset, quint64 size);
    void FillRegion(const Record &r, int kind);

    // EmfShapes.cpp: lines, polygons, curves, shapes and paths
    enum class Poly { Bezier, Polygon, Polyline, BezierTo, PolylineTo };
    void DrawPoly(const Record &r, bool small, Poly kind);
    void DrawPolyPoly(const Record &r, bool small, bool polygon);
    void DrawPolyDraw(const Record &r, bool small);
    void LineTo(const Record &r);
    void MoveTo(const Record &r);
    void DrawBox(const Record &r, int type);
    void DrawArc(const Record &r, int type);
    void AngleArc(const Record &r);
    void SetPixel(const Record &r);
    void DrawShape(const QPainterPath &logical, bool closed);
    void ContinueFigure(const QPainterPath &logical);
    void EndPathOp(int type);
    void WidenPath();
    void FlattenPath();
    void SelectClipPath(const Record &r);
    bool ArcPath(const Record &r, QPainterPath &path, QRectF &box, double &start, double &sweep) const;

    // EmfText.cpp
    void ExtTextOut(const Record &r, bool wide);
    void PolyTextOut(const Record &r, bool wide);
    void SmallTextOut(const Record &r);
    void DrawText(const Record &r, quint64 emrText, bool wide, int graphicsMode);
    void DrawString(const QString &text, bool glyphIndexes, const QList<QPointF> *dx, QPointF reference,
                    quint32 options, const std::optional<Record::Edges> &rect, int graphicsMode);

    // EmfBitmaps.cpp
    void BitBlt(const Record &r, int type);
    void StretchDiBits(const Record &r);
    void SetDiBitsToDevice(const Record &r);
    void AlphaBlend(const Record &r);
    void GradientFill(const Record &r);
    Dib ReadDib(const Record &r, quint64 offInfo, quint64 infoSize, quint64 offBits, quint64 bitsSize, quint32 usage,
                bool keepAlpha = false, qint32 rows = 0, qint64 maxPixels = kMaxDibPixels);
    void Blit(const QRectF &dest, const QImage &source, const QRectF &sourceRect, quint32 rop);
    void FillRop(const QRectF &dest, quint32 rop);

    bool Spend(qint64 units);

    QPainter &p_;
    const uchar *data_;
    DibCache *dibs_ = nullptr;
    quint64 size_;
    QTransform base_;      // reference device pixels to painter device
    double dpmmX_, dpmmY_; // reference device pixels per millimetre
    ClipArea metaClip_;
    DcState dc_;
    std::vector<DcState> saved_;
    std::vector<std::optional<Object>> objects_;
    QPainterPath path_; // painter device coordinates
    bool inPath_ = false;
    bool figureOpen_ = false;
    bool clipDirty_ = true;
    bool blendModes_ = false;
    bool rasterOps_ = false;
    qint64 work_ = 0;
    bool stopped_ = false;
};

} // namespace platform::emf
