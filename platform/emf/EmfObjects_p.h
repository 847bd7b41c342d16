#pragma once
// The graphics objects an EMF creates in its object table, and the device-context state that
// selects them; values as the records give them, in logical units.
#include "platform/emf/EmfTypes_p.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>
#include <QTransform>
#include <optional>
#include <variant>

namespace platform::emf {

struct Pen {
    quint32 style = PS_SOLID; // style, end cap, join and geometric flags
    double width = 0;         // logical units; 0 is one device pixel
    QColor color = Qt::black;
    QList<qreal> userDashes; // PS_USERSTYLE entries, logical units
    bool IsNull() const { return (style & PS_STYLE_MASK) == PS_NULL; }
};

struct Brush {
    quint32 style = BS_SOLID;
    QColor color = Qt::white;
    quint32 hatch = 0;
    QImage pattern;          // BS_PATTERN / BS_DIBPATTERN
    bool monochrome = false; // a mono pattern takes the text and background colours when used
    bool IsNull() const { return style == BS_NULL; }
};

struct Font {
    qint32 height = 0;
    qint32 width = 0;
    qint32 escapement = 0; // tenths of a degree, counter-clockwise
    qint32 weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    quint8 charset = 0;
    quint8 pitchAndFamily = 0;
    QString face;
};

struct Palette {
    QList<QRgb> entries;
};

using Object = std::variant<Pen, Brush, Font, Palette>;

// The clipping area in painter device coordinates: a rectangle while it stays one, else a path.
class ClipArea {
public:
    ClipArea() = default;
    explicit ClipArea(const QRectF &rect) : rect_(rect.normalized()) {}
    explicit ClipArea(const QPainterPath &path);

    bool IsRect() const { return !path_; }
    const QRectF &Rect() const { return rect_; }
    QPainterPath Path() const;
    bool IsEmpty() const;

    void Intersect(const ClipArea &other);
    void Combine(const ClipArea &other, int regionMode);
    void Translate(const QPointF &offset);

private:
    QRectF rect_;
    std::optional<QPainterPath> path_;
};

struct DcState {
    int mapMode = MM_TEXT;
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;

    Pen pen;
    Brush brush;
    Font font;
    QList<QRgb> palette;

    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = OPAQUE;
    quint32 textAlign = 0;
    int fillMode = ALTERNATE;
    int rop2 = R2_COPYPEN;
    int arcDirection = AD_COUNTERCLOCKWISE;
    double miterLimit = 10;
    QPointF brushOrigin;

    ClipArea clip;
    QPointF current; // current position, logical units
};

} // namespace platform::emf
