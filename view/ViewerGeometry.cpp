#include "view/ViewerGeometry.h"

#include <algorithm>

qint64 NearestRatio(qint64 num, qint64 den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    // Floor division, so that the remainder is never negative.
    qint64 q = num / den;
    qint64 r = num % den;
    if (r < 0) {
        --q;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1) != 0))
        ++q;
    return q;
}

TPageSize PageSizeForZoom(TEmfZoomLevel level, int clientW, int clientH, int margLeft, int margRight)
{
    const qint64 cw = clientW;
    const qint64 ch = clientH;
    qint64 pw = 0;
    qint64 ph = 0;
    // The sheet's aspect K = 210/297 enters every formula as an exact fraction.
    switch (level) {
    case zoomPageH:
        ph = ch - 10;
        pw = NearestRatio(ph * kSheetWidthMm, kSheetHeightMm);
        break;
    case zoomPageAvg:
        // ((CH - 10) * K + (CW - 12)) / 2
        pw = NearestRatio((ch - 10) * kSheetWidthMm + (cw - 12) * kSheetHeightMm, 2 * kSheetHeightMm);
        break;
    case zoomPageW:
        pw = cw - 12;
        break;
    case zoomTextW: {
        const qint64 textMm = kSheetWidthMm - qint64(margLeft) - margRight;
        // Margins that leave no text area have nothing to fit: show the whole width instead of dividing
        // by zero or by a negative width.
        pw = textMm > 0 ? NearestRatio(cw * kSheetWidthMm, textMm) - 6 : cw - 12;
        break;
    }
    case zoomExtra1:
        pw = NearestRatio(cw * 4, 3);
        break;
    case zoomExtra2:
        pw = NearestRatio(cw * 5, 3);
        break;
    case zoomExtra3:
        pw = cw * 2;
        break;
    }
    if (level != zoomPageH)
        ph = NearestRatio(pw * kSheetHeightMm, kSheetWidthMm);
    // Absurd margins at zoomTextW could ask for pages millions of pixels wide; keep the strip
    // arithmetic far from integer overflow.
    constexpr qint64 kMaxSide = 1 << 20;
    return {int(std::clamp<qint64>(pw, 1, kMaxSide)), int(std::clamp<qint64>(ph, 1, kMaxSide))};
}

TVisiblePages VisiblePages(qint64 v, int pageH, int viewH, int pageCount)
{
    const qint64 pitch = qint64(pageH) + 10;
    // Division truncating toward zero: positions 0 to 4 still start at page 0.
    const qint64 first = (v - 5) / pitch;
    TVisiblePages pages;
    pages.First = int(first);
    pages.Top = first * pitch - v + 5;
    for (qint64 top = pages.Top; top < viewH && first + pages.Count < pageCount; top += pitch)
        ++pages.Count;
    return pages;
}
