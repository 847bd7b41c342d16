#pragma once
// Three-dimensional edges drawn the way the classic Windows DrawEdge routine draws them, from the
// system colours of a palette: button face, highlight, 3D light, shadow and dark shadow.
#include <QColor>
#include <QPalette>
#include <QRect>

class QPainter;

enum TEdgeBorder : unsigned {
    kRaisedOuter = 0x1,
    kSunkenOuter = 0x2,
    kRaisedInner = 0x4,
    kSunkenInner = 0x8,
    kEdgeRaised = kRaisedOuter | kRaisedInner,
    kEdgeSunken = kSunkenOuter | kSunkenInner,
};

// One edge style: the borders and whether the soft variant (lighter outer highlight) is used.
struct TEdgeStyle {
    unsigned borders = 0;
    bool soft = false;
    bool operator==(const TEdgeStyle &) const = default;
};

// The system colours DrawEdge works with.
struct TSystemColours {
    QColor face, highlight, light, shadow, darkShadow;
    static TSystemColours FromPalette(const QPalette &palette);
};

// Draws the edge as one or two one-pixel rings just inside rect.
void DrawEdge(QPainter &painter, const QRect &rect, TEdgeStyle style, const TSystemColours &colours);
