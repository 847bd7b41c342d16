#pragma once
// The arithmetic of the base window's frame, apart from any widget: its size limits and how they
// hold each other in check, the frame's hit test, the clamp applied while an edge is dragged, and
// where a centred or restored window goes on the work area. Rectangles are outer window bounds.
#include <QRect>

// Outer size limits of a window; a maximum of 0 is no limit, a minimum is never below 20.
struct TWenSizeLimits {
    int minWidth = 20;
    int maxWidth = 0;
    int minHeight = 20;
    int maxHeight = 0;
    // The size a restored window takes without usable remembered bounds; 0 is two thirds of the
    // work area's far coordinate.
    int preferredWidth = 0;
    int preferredHeight = 0;

    // A new minimum raises a smaller non-zero maximum and the preferred size to it; a new non-zero
    // maximum lowers a larger minimum and preferred size to it. The window's own size follows the
    // same way (Clamp).
    void SetMinWidth(int width);
    void SetMaxWidth(int width);
    void SetMinHeight(int height);
    void SetMaxHeight(int height);

    bool FixedWidth() const { return maxWidth != 0 && minWidth == maxWidth; }
    bool FixedHeight() const { return maxHeight != 0 && minHeight == maxHeight; }
    QSize Clamp(const QSize &size) const;
};

// The frame's own hit code (THitCode) of a point in window coordinates: the caption when the point
// lies in the caption bar, the edge or corner when it lies within `inset` pixels of the window's
// border (corners reach 10 pixels along each edge), else the client.
int FrameHitCode(const QPoint &pos, const QSize &window, int inset, const QRect &caption);

// The code after the window's restrictions: a maximized window cannot be dragged by its caption,
// a fixed width offers no left or right edge, a fixed height no top or bottom, and both together
// no corner either; what is taken away becomes the plain border.
int RestrictHitCode(int code, bool maximized, const TWenSizeLimits &limits);

// The bounds while the edges of `hitCode` are dragged to `dragged`: the dragged edges are held so
// that the size stays within the limits, the opposite edges stay put.
QRect ClampSizing(const QRect &dragged, int hitCode, const TWenSizeLimits &limits);

// A window of width x height (0: the work area's) clamped to the limits and centred on the work
// area, never left of or above it; then every side that sticks out first shrinks the window (not
// below its minimum) and moves it by the rest. When even the minimum does not fit, the top-left
// corner stays inside, where the caption is.
QRect CenteredBounds(int width, int height, const QRect &workArea, const TWenSizeLimits &limits);

// The preferred size, cut to the work area, centred on it.
QRect DefaultRestoredBounds(const TWenSizeLimits &limits, const QRect &workArea);
