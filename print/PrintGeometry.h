#pragma once
// Where pages go on a sheet: the whole printable sheet and its two halves, in printer pixels with the
// origin at the corner of the printable area, from the margins in millimetres.
#include "platform/printer/PrinterTypes.h"

#include <QRect>

// Margins in whole millimetres.
struct TMarginsMm {
    int Left = 50;
    int Top = 20;
    int Right = 20;
    int Bottom = 20;
};

struct TPrintJobGeometry {
    QRect Full;
    QRect LeftHalf;
    QRect RightHalf;
    // Pixels the rectangles move between the passes of two-sided printing; 0 when one-sided.
    int Shift = 0;

    // Moves the three rectangles horizontally by Shift: back from the mirrored margins of the first
    // pass of two-sided printing.
    void MoveByShift();
};

// Margins converted with the device's pixels per millimetre (single precision, halves rounded to
// even). With twoSided the first pass mirrors the left and right margins: the rectangles start
// moved by right minus left, and Shift holds the way back.
TPrintJobGeometry ComputeGeometry(const platform::TDeviceCaps &caps, const TMarginsMm &margins, bool twoSided);
