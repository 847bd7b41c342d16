#pragma once
// A box the viewer draws over a page, such as a found text.
#include <QRectF>

struct TPageMark {
    QRectF Rect; // in page units
    bool Current = false;
};
