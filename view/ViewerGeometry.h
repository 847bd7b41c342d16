#pragma once
// Page sizes of the viewer's zoom levels and the exact rounding they use, apart from any widget.
#include <QtGlobal>

// How large the viewer draws a page; the ordinals matter (zooming steps through them in order).
enum TEmfZoomLevel {
    zoomPageH,   // the whole page height fits the view
    zoomPageAvg, // halfway between fitting the height and fitting the width
    zoomPageW,   // the page width fits the view
    zoomTextW,   // the area between the left and right margins fits the view
    zoomExtra1,  // 4/3 of the view width
    zoomExtra2,  // 5/3 of the view width
    zoomExtra3,  // twice the view width
};

// Every page is shown as an A4 sheet, 210 x 297 mm.
inline constexpr int kSheetWidthMm = 210;
inline constexpr int kSheetHeightMm = 297;

// num / den rounded to the nearest integer, halves to the even neighbour, computed exactly (den != 0).
qint64 NearestRatio(qint64 num, qint64 den);

struct TPageSize {
    int Width = 0;
    int Height = 0;
};

// The on-screen page size for a zoom level in a client area of clientW x clientH pixels; the left and
// right margins (mm) matter only at zoomTextW. Never smaller than 1 x 1, so a tiny or collapsed view
// still has a page pitch to divide by.
TPageSize PageSizeForZoom(TEmfZoomLevel level, int clientW, int clientH, int margLeft, int margRight);

// The pages a view shows: First is the index of the first page that can reach into the view, Top its
// top edge in view pixels, Count how many pages from First down to the view's bottom edge.
struct TVisiblePages {
    int First = 0;
    qint64 Top = 0;
    int Count = 0;
};

// Pages laid one under the other with a pitch of pageH + 10, each 5 pixels into its slot, seen from
// vertical position v in a view viewH pixels high.
TVisiblePages VisiblePages(qint64 v, int pageH, int viewH, int pageCount);
