#include "ui/WenFormGeometry.h"

#include "ui/bajery.h"

#include <algorithm>

namespace {

constexpr int kLeast = 20;
// How far a corner reaches along the edges next to it.
constexpr int kCorner = 10;

// A minimum and maximum pair after a new minimum.
void RaiseTo(int &minimum, int &maximum, int &preferred, int value)
{
    minimum = std::max(value, kLeast);
    if (maximum != 0 && maximum < minimum)
        maximum = minimum;
    preferred = std::max(preferred, minimum);
}

// The same after a new maximum; a maximum is held at the least minimum too, so the pair stays
// ordered.
void LowerTo(int &minimum, int &maximum, int &preferred, int value)
{
    maximum = value <= 0 ? 0 : std::max(value, kLeast);
    if (maximum == 0)
        return;
    minimum = std::min(minimum, maximum);
    preferred = std::min(preferred, maximum);
}

int ClampLength(int length, int minimum, int maximum)
{
    if (maximum != 0)
        length = std::min(length, maximum);
    return std::max(length, minimum);
}

bool IsLeft(int code)
{
    return code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT;
}

bool IsRight(int code)
{
    return code == HTRIGHT || code == HTTOPRIGHT || code == HTBOTTOMRIGHT;
}

bool IsTop(int code)
{
    return code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT;
}

bool IsBottom(int code)
{
    return code == HTBOTTOM || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT;
}

// Moves one side of [start, end) back inside [lo, hi): the length shrinks first, down to minimum,
// then the rest moves the whole span.
void PullInside(int &start, int &length, int lo, int hi, int minimum)
{
    const int over = start + length - hi;
    if (over > 0) {
        const int shrink = std::min(over, std::max(length - minimum, 0));
        length -= shrink;
        start -= over - shrink;
    }
    if (start < lo) {
        const int under = lo - start;
        const int shrink = std::min(under, std::max(length - minimum, 0));
        start = lo;
        length -= shrink;
    }
}

} // namespace

void TWenSizeLimits::SetMinWidth(int width)
{
    RaiseTo(minWidth, maxWidth, preferredWidth, width);
}

void TWenSizeLimits::SetMaxWidth(int width)
{
    LowerTo(minWidth, maxWidth, preferredWidth, width);
}

void TWenSizeLimits::SetMinHeight(int height)
{
    RaiseTo(minHeight, maxHeight, preferredHeight, height);
}

void TWenSizeLimits::SetMaxHeight(int height)
{
    LowerTo(minHeight, maxHeight, preferredHeight, height);
}

QSize TWenSizeLimits::Clamp(const QSize &size) const
{
    return {ClampLength(size.width(), minWidth, maxWidth), ClampLength(size.height(), minHeight, maxHeight)};
}

int FrameHitCode(const QPoint &pos, const QSize &window, int inset, const QRect &caption)
{
    if (caption.contains(pos))
        return HTCAPTION;
    const QRect all(QPoint(0, 0), window);
    if (!all.contains(pos))
        return HTNOWHERE;
    if (all.adjusted(inset, inset, -inset, -inset).contains(pos))
        return HTCLIENT;
    const int x = pos.x(), y = pos.y(), w = window.width(), h = window.height();
    const bool left = x<kCorner, right = x> w - kCorner - 1;
    if (y < kCorner)
        return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (y > h - kCorner - 1)
        return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    return left ? HTLEFT : HTRIGHT;
}

int RestrictHitCode(int code, bool maximized, const TWenSizeLimits &limits)
{
    switch (code) {
    case HTCAPTION:
        return maximized ? HTBORDER : code;
    case HTLEFT:
    case HTRIGHT:
        return limits.FixedWidth() ? HTBORDER : code;
    case HTTOP:
    case HTBOTTOM:
        return limits.FixedHeight() ? HTBORDER : code;
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        return limits.FixedWidth() && limits.FixedHeight() ? HTBORDER : code;
    default:
        return code;
    }
}

QRect ClampSizing(const QRect &dragged, int hitCode, const TWenSizeLimits &limits)
{
    QRect r = dragged;
    const int w = ClampLength(r.width(), limits.minWidth, limits.maxWidth);
    const int h = ClampLength(r.height(), limits.minHeight, limits.maxHeight);
    if (IsLeft(hitCode))
        r.setLeft(r.left() + r.width() - w);
    else if (IsRight(hitCode))
        r.setWidth(w);
    if (IsTop(hitCode))
        r.setTop(r.top() + r.height() - h);
    else if (IsBottom(hitCode))
        r.setHeight(h);
    return r;
}

QRect CenteredBounds(int width, int height, const QRect &workArea, const TWenSizeLimits &limits)
{
    QSize size = limits.Clamp(QSize(width > 0 ? width : workArea.width(), height > 0 ? height : workArea.height()));
    int x = std::max(workArea.left() + (workArea.width() - size.width()) / 2, workArea.left());
    int y = std::max(workArea.top() + (workArea.height() - size.height()) / 2, workArea.top());
    int w = size.width(), h = size.height();
    PullInside(x, w, workArea.left(), workArea.left() + workArea.width(), limits.minWidth);
    PullInside(y, h, workArea.top(), workArea.top() + workArea.height(), limits.minHeight);
    return {x, y, w, h};
}

QRect DefaultRestoredBounds(const TWenSizeLimits &limits, const QRect &workArea)
{
    const int farX = workArea.left() + workArea.width();
    const int farY = workArea.top() + workArea.height();
    const int w = std::min(limits.preferredWidth > 0 ? limits.preferredWidth : farX * 2 / 3, workArea.width());
    const int h = std::min(limits.preferredHeight > 0 ? limits.preferredHeight : farY * 2 / 3, workArea.height());
    return {workArea.left() + (workArea.width() - w) / 2, workArea.top() + (workArea.height() - h) / 2, w, h};
}
