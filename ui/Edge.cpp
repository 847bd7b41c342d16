#include "ui/Edge.h"

#include <QPainter>

TSystemColours TSystemColours::FromPalette(const QPalette &palette)
{
    return {palette.color(QPalette::Button), palette.color(QPalette::Light), palette.color(QPalette::Midlight),
            palette.color(QPalette::Dark), palette.color(QPalette::Shadow)};
}

namespace {

enum Sys { None, Face, Highlight, Light, Shadow, Dark };

// Colours of the outer and inner rings, top-left and bottom-right, indexed by inner * 4 + outer
// (the border bits of the style). An inner border without an outer one is drawn as the outer
// ring, which is how a lone "raised inner" edge ends up one pixel wide.
constexpr Sys kLtInner[16] = {None, None, None, None, None, Highlight, Highlight, None,
                              None, Dark, Dark, None, None, None,      None,      None};
constexpr Sys kLtOuter[16] = {None, Light, Shadow, None, Highlight, Light, Shadow, None,
                              Dark, Light, Shadow, None, None,      Light, Shadow, None};
constexpr Sys kRbInner[16] = {None, None,  None,  None, None, Shadow, Shadow, None,
                              None, Light, Light, None, None, None,   None,   None};
constexpr Sys kRbOuter[16] = {None,  Dark, Highlight, None, Shadow, Dark, Highlight, None,
                              Light, Dark, Highlight, None, None,   Dark, Highlight, None};
constexpr Sys kLtInnerSoft[16] = {None, None,   None,   None, None, Light, Light, None,
                                  None, Shadow, Shadow, None, None, None,  None,  None};
constexpr Sys kLtOuterSoft[16] = {None,   Highlight, Dark, None, Light, Highlight, Dark, None,
                                  Shadow, Highlight, Dark, None, None,  Highlight, Dark, None};

QColor Pick(Sys s, const TSystemColours &c)
{
    switch (s) {
    case Face:
        return c.face;
    case Highlight:
        return c.highlight;
    case Light:
        return c.light;
    case Shadow:
        return c.shadow;
    case Dark:
        return c.darkShadow;
    case None:
        break;
    }
    return {};
}

void Ring(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    if (topLeft.isValid()) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    }
    if (bottomRight.isValid()) {
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    }
}

} // namespace

void DrawEdge(QPainter &painter, const QRect &rect, TEdgeStyle style, const TSystemColours &colours)
{
    const unsigned i = style.borders & 0xf;
    const Sys ltOuter = style.soft ? kLtOuterSoft[i] : kLtOuter[i];
    const Sys ltInner = style.soft ? kLtInnerSoft[i] : kLtInner[i];
    Ring(painter, rect, Pick(ltOuter, colours), Pick(kRbOuter[i], colours));
    if (ltInner != None || kRbInner[i] != None)
        Ring(painter, rect.adjusted(1, 1, -1, -1), Pick(ltInner, colours), Pick(kRbInner[i], colours));
}
