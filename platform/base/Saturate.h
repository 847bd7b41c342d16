#pragma once
// Floating-point to integer conversion for numbers that come from files: NaN becomes 0 and a value
// beyond the integer's range its nearest end, where a plain cast is undefined.
#include <QRect>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

// The nearest integer, halves to the even neighbour (the current rounding mode).
template <typename Int = int> Int SaturatingRound(long double v)
{
    if (std::isnan(v))
        return 0;
    constexpr Int lo = std::numeric_limits<Int>::min(), hi = std::numeric_limits<Int>::max();
    // Every bound of a 64-bit integer is exact in the extended format.
    if (v <= static_cast<long double>(lo))
        return lo;
    if (v >= static_cast<long double>(hi))
        return hi;
    return static_cast<Int>(std::nearbyint(v));
}

// Towards zero.
template <typename Int = int> Int SaturatingTrunc(long double v)
{
    return SaturatingRound<Int>(std::trunc(v));
}

// Device coordinates handed to Qt's integer calls: qRound as Qt rounds, kept within +-2^30 so
// that widths and sums of them still fit an int (anything that far is off every page anyway).
inline int DeviceInt(double v)
{
    constexpr double kFar = 1 << 30;
    if (std::isnan(v))
        return 0;
    return qRound(std::clamp(v, -kFar, kFar));
}

inline QPoint DevicePoint(const QPointF &p)
{
    return QPoint(DeviceInt(p.x()), DeviceInt(p.y()));
}

// QRectF::toRect() with its edges kept as DeviceInt keeps them.
inline QRect DeviceRect(const QRectF &r)
{
    return QRect(QPoint(DeviceInt(r.left()), DeviceInt(r.top())),
                 QPoint(DeviceInt(r.left() + r.width()) - 1, DeviceInt(r.top() + r.height()) - 1));
}

// QRectF(QRect) without the int overflow of QRect::width() on edges far apart.
inline QRectF WideRectF(const QRect &r)
{
    return QRectF(r.left(), r.top(), qreal(qint64(r.right()) - r.left() + 1), qreal(qint64(r.bottom()) - r.top() + 1));
}

} // namespace platform
