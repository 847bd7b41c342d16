#pragma once
// The paint engine behind a page metafile: turns every QPainter call into typed records. Internal to
// PageMetafile.
#include "platform/metafile/MetafileData_p.h"
#include "platform/metafile/PageMetafile.h"
#include "platform/text/GlyphRecorder.h"

#include <QHash>

namespace platform {

// The index of each face in the recording's face table. Runs mostly come in the face of the run
// before them, which is answered without hashing.
class FaceIndexes {
public:
    int Find(const FontFace *face)
    {
        if (face == last_)
            return lastIndex_;
        const auto it = byFace_.constFind(face);
        if (it == byFace_.constEnd())
            return -1;
        last_ = face;
        lastIndex_ = *it;
        return lastIndex_;
    }
    void Insert(const FontFace *face, int index) { byFace_.insert(face, index); }
    void Clear() { *this = FaceIndexes(); }

private:
    QHash<const FontFace *, int> byFace_;
    const FontFace *last_ = nullptr;
    int lastIndex_ = -1;
};

// A clip in page units: none, a rectangle or a path.
struct DeviceClip {
    ClipMode mode = ClipMode::None;
    QRectF rect;
    QPainterPath path;
    bool operator==(const DeviceClip &o) const
    {
        return mode == o.mode && (mode != ClipMode::Rect || rect == o.rect) &&
               (mode != ClipMode::Path || path == o.path);
    }
};

class MetafileEngine : public GlyphRecorder {
public:
    explicit MetafileEngine(PageMetafile *owner);

    // Glyph runs become text records (one per baseline) under the painter's current state.
    void RecordText(const std::shared_ptr<const FontFace> &face, const QColor &color, QPointF origin,
                    const quint16 *glyphs, int count, int flags, QStringView text) override;
    void RecordPositionedText(const std::shared_ptr<const FontFace> &face, const QColor &color,
                              const QList<quint32> &glyphs, const QList<QPointF> &positions,
                              const QList<QRectF> &decorations, const QList<char32_t> &codes) override;

    // Forgets what was recorded, after the page was cleared under an open painter.
    void ResetRecordedState();

    // Recording shared with other pages (SharedDrawings). State() is the painter's state now, which
    // with what is drawn decides the records. Between BeginShared and EndShared the painter records
    // into a recording of its own that starts from no recorded state, as a player reaching it may
    // hold any; PlaceShared refers to such a recording from the page, which afterwards records its
    // state anew for the same reason.
    struct PainterState {
        QPen pen;
        QBrush brush;
        QPointF brushOrigin;
        QColor bkColor;
        Qt::BGMode bkMode = Qt::TransparentMode;
        QTransform transform;
        DeviceClip clip;
        int hints = 0;
        int composition = 0;
        qreal opacity = 1;
        bool operator==(const PainterState &o) const;
    };
    PainterState State();
    bool InShared() const { return shared_ != nullptr; }
    void BeginShared();
    std::shared_ptr<const MetafileData> EndShared();
    void PlaceShared(const std::shared_ptr<const MetafileData> &recording);

    bool begin(QPaintDevice *pdev) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    void drawRects(const QRect *rects, int rectCount) override;
    void drawRects(const QRectF *rects, int rectCount) override;
    void drawLines(const QLine *lines, int lineCount) override;
    void drawLines(const QLineF *lines, int lineCount) override;
    void drawEllipse(const QRectF &r) override;
    void drawEllipse(const QRect &r) override;
    void drawPath(const QPainterPath &path) override;
    void drawPoints(const QPointF *points, int pointCount) override;
    void drawPoints(const QPoint *points, int pointCount) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawPolygon(const QPoint *points, int pointCount, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawTiledPixmap(const QRectF &r, const QPixmap &pixmap, const QPointF &s) override;
    void drawImage(const QRectF &r, const QImage &pm, const QRectF &sr,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;

private:
    MetafileData &Data();
    void Emit(const MetaRecord &record);
    // Catches up with state the painter has changed but not yet handed over.
    void SyncPainterState();
    void EnsureCommon();
    void EnsurePen();
    void EnsureBrush();
    void EnsureTextColor(const QColor &color);
    void ApplyClip(const DeviceClip &clip, Qt::ClipOperation op);
    int FaceIndex(const std::shared_ptr<const FontFace> &face);
    void RecordRects(QList<QRectF> rects, bool integer);
    void RecordLines(QList<QLineF> lines, bool integer);
    void RecordEllipse(const QRectF &rect, bool integer);
    void RecordPoints(QList<QPointF> points, bool integer);
    void RecordPolygon(QList<QPointF> points, PolygonDrawMode mode, bool integer);

    PageMetafile *owner_;
    MetaRecord scratch_;

    // The painter's state as last handed over.
    QPen pen_;
    QBrush brush_;
    QPointF brushOrigin_;
    QColor bkColor_ = Qt::white;
    Qt::BGMode bkMode_ = Qt::TransparentMode;
    QTransform transform_;
    DeviceClip clip_;
    bool clipEnabled_ = false;
    int hints_ = 0;
    int composition_ = 0;
    qreal opacity_ = 1;
    // Whether the state above that every drawing records may have changed since EnsureCommon last
    // compared it with the records: most text comes with nothing changed.
    bool commonChanged_ = true;

    // What the records say so far; `known` false means nothing recorded yet in this session.
    struct Recorded {
        bool known = false;
        bool penKnown = false;
        bool brushKnown = false;
        QPen pen;
        QBrush brush;
        QPointF brushOrigin;
        bool brushOriginKnown = true; // a page starts at the player's origin, a shared recording does not
        QRgb textColor = 0;
        bool textColorKnown = false;
        QRgb bkColor = 0;
        int bkMode = 0;
        QTransform transform;
        DeviceClip clip;
        int hints = 0;
        int composition = 0;
        qreal opacity = 1;
    } rec_;

    bool inTextFallback_ = false;
    FaceIndexes faceIndex_;
    QFont lastFont_;
    std::shared_ptr<const FontFace> lastFace_;

    std::shared_ptr<MetafileData> shared_; // the recording being made, when not null
    FaceIndexes pageFaceIndex_;
};

} // namespace platform
