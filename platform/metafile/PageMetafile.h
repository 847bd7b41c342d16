#pragma once
// The page picture: a recorded display list that any QPainter can draw on and that plays into any
// painter (screen, image, PDF, printer), stretched to a target rectangle.
#include "platform/metafile/PageGeometry.h"
#include "platform/text/GdiFont.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QSet>
#include <QSharedDataPointer>
#include <QSize>
#include <QString>
#include <QTransform>

#include <functional>
#include <memory>
#include <optional>

class QPainter;

namespace platform {

class MetafileEngine;
struct MetafileData;

// Record kinds. Those that exist in the enhanced-metafile format keep its record numbers, in particular
// the colour-carrying ones (1, 24, 25, 38, 39, 95) that monochrome printing rewrites.
enum RecordType : int {
    EmrHeader = 1,               // size; color: the text colour at the start of play
    EmrPolygon = 3,              // points, value: Qt::FillRule (pen and brush)
    EmrPolyline = 4,             // points (pen)
    EmrPolyPolyline = 7,         // lines (pen)
    EmrSetBrushOrgEx = 13,       // point
    EmrSetPixelV = 15,           // points (pen)
    EmrSetBkMode = 18,           // value: 1 transparent, 2 opaque
    EmrSetRop2 = 20,             // value: QPainter::CompositionMode
    EmrSetTextColor = 24,        // color: the colour of the text records that follow
    EmrSetBkColor = 25,          // color: background of opaque text, hatches and dashes
    EmrSetWorldTransform = 35,   // transform: logical to page units
    EmrCreatePen = 38,           // pen: a plain pen of one colour
    EmrCreateBrushIndirect = 39, // brush: a solid or hatched brush of one colour, or none
    EmrEllipse = 42,             // rect (pen and brush)
    EmrRectangle = 43,           // rects (pen and brush)
    EmrStrokeAndFillPath = 63,   // path (pen and brush)
    EmrExtSelectClipRgn = 75,    // value: a ClipMode; rect or path in page units, not transformed
    EmrStretchDIBits = 81,       // rect (target), source, image
    EmrExtTextOutW = 84,         // face, origin, glyphs, positions, value: text flags (GlyphPainter.h)
    EmrCreatePatternBrush = 94,  // brush: a texture or gradient brush, kept as drawn
    EmrExtCreatePen = 95,        // pen: any other pen (custom dashes, brush-filled)
    // Kinds of our own, outside the format's numbers.
    RecSetOpacity = 1001,     // opacity
    RecSetRenderHints = 1002, // value: QPainter::RenderHints
    RecTiledImage = 1003,     // rect, image, point: offset into the image
    RecTextPath = 1004,       // path filled in the text colour (glyphs drawn as outlines)
    // A recording shared with other pages (SharedDrawings.h), by its index: its records are handed
    // out in its place, never this record itself.
    RecShared = 1005,
};

// The clip an EmrExtSelectClipRgn record sets; the record's value is its number.
enum class ClipMode : qint32 { None = 0, Rect = 1, Path = 2 };
// The clip mode a record's value names, or none when it names none.
constexpr std::optional<ClipMode> ClipModeOf(qint32 value)
{
    return value >= 0 && value <= 2 ? std::optional(ClipMode(value)) : std::nullopt;
}

// One record as enumeration hands it out: a private copy the callback may change before it is played.
// Only the members named for the record's type are used.
struct MetaRecord {
    int type = 0;
    int value = 0;
    bool integer = false; // geometry came in whole units (QPainter's integer calls draw differently)
    QColor color;
    QPen pen;
    QBrush brush;
    QTransform transform;
    QRectF rect;
    QRectF source;
    QPointF point;
    QList<QPointF> points;
    QList<QLineF> lines;
    QList<QRectF> rects;
    QPainterPath path;
    QImage image;
    QSize size;
    qreal opacity = 1;
    std::shared_ptr<const FontFace> face;
    QPointF origin;           // text: start of the baseline
    QList<quint32> glyphs;    // text: glyph indexes of face
    QList<QPointF> positions; // text: each glyph's baseline position in logical units
    QString text;             // text: the characters drawn, one code point per glyph, in glyph order
};

// Called for every record in order with a copy of it; return false to stop. The record is played after
// the call, as the callback left it.
using RecordCallback = std::function<bool(MetaRecord &record)>;

// A drawing that pages share (SharedDrawings.h), handed to a visitor in place of its records.
class SharedRecording {
public:
    // The same for every reference to this recording, and no other recording's while this is kept.
    const void *Key() const { return d_.get(); }
    // Hands the recording's records in order to callback, as the pages that refer to it would.
    // Damaged records are skipped; returns how many were.
    int Visit(const RecordCallback &callback) const;

private:
    friend class PageMetafile;
    explicit SharedRecording(std::shared_ptr<const MetafileData> d) : d_(std::move(d)) {}
    std::shared_ptr<const MetafileData> d_;
};

// Called for each reference to a shared drawing; return false to stop.
using SharedCallback = std::function<bool(const SharedRecording &drawing)>;

// A page picture. Open a QPainter on it to record (the painter and DrawTextEx are recorded as typed
// records); copies are cheap and independent (implicitly shared, copied on the first change).
// The device reports 96 dpi; its size is kPageWidth x kPageHeight units unless set otherwise.
class PageMetafile : public QPaintDevice {
public:
    PageMetafile();
    explicit PageMetafile(QSize size);
    PageMetafile(const PageMetafile &other);
    PageMetafile &operator=(const PageMetafile &other);
    ~PageMetafile() override;

    QSize Size() const;
    // Changes the size; the records stay.
    void SetSize(QSize size);
    // Removes every record; the size stays.
    void Clear();
    // Makes room for about that many bytes of records, so that recording a page like the last one
    // does not grow the stream step by step; the painter's end gives back what is left over.
    void Reserve(qsizetype bytes);
    // Bytes of the record stream alone.
    qsizetype StreamBytes() const;
    bool IsEmpty() const;
    // Number of records, the header included.
    int RecordCount() const;
    // Bytes of memory the records hold (stream and shared tables), for budgeting. Images whose
    // keys are in `counted` are left out, and the rest join it: pictures pages share count once.
    qsizetype MemoryBytes(QSet<qint64> *counted = nullptr) const;

    // Plays the page scaled into target (in the painter's current coordinates); the painter's state
    // is left as it was. Drawing stays inside target.
    void Play(QPainter &painter, const QRectF &target) const;
    // Plays record by record through callback (see RecordCallback). A record that fails to play does
    // not stop the rest; returns how many failed. The page itself never changes.
    int Enumerate(QPainter &painter, const QRectF &target, const RecordCallback &callback) const;
    // Enumerate for a painter whose drawing shows only inside visible (device pixels, such as a
    // band's clip): drawing records that lie wholly outside it are not played, every other record
    // is, so the pixels inside are the same as Enumerate's and far cheaper when visible is small.
    int EnumerateVisible(QPainter &painter, const QRectF &target, const QRectF &visible,
                         const RecordCallback &callback) const;
    // Hands every record in order, the header first, to callback without playing it, for writers of
    // other formats (PDF, plain text). Damaged records are skipped; returns how many were.
    int Visit(const RecordCallback &callback) const;
    // Visit, except that each reference to a drawing shared with other pages goes to shared instead
    // of its records (when shared is empty, as Visit). The records after a reference restate
    // every part of the state they use.
    int Visit(const RecordCallback &callback, const SharedCallback &shared) const;

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int Replay(QPainter &painter, const QRectF &target, const std::optional<QRectF> &visible,
               const RecordCallback &callback) const;

    friend class MetafileEngine;
    QSharedDataPointer<MetafileData> d;
    mutable std::unique_ptr<MetafileEngine> engine_;
};

} // namespace platform
