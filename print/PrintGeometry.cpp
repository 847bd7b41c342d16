#include "print/PrintGeometry.h"

#include <cmath>

namespace {

// Pixels per millimetre, kept in single precision as the printer's drivers have always had it.
float PerMm(int pixelsPerInch)
{
    return float(double(pixelsPerInch) * 0.0393700787);
}

// Halves go to the even neighbour (the default rounding mode).
int Pixels(int mm, float perMm)
{
    return int(std::nearbyint(double(mm) * double(perMm)));
}

} // namespace

void TPrintJobGeometry::MoveByShift()
{
    Full.translate(Shift, 0);
    LeftHalf.translate(Shift, 0);
    RightHalf.translate(Shift, 0);
}

TPrintJobGeometry ComputeGeometry(const platform::TDeviceCaps &caps, const TMarginsMm &margins, bool twoSided)
{
    const float fx = PerMm(caps.LogPixelsX), fy = PerMm(caps.LogPixelsY);
    const int mL = Pixels(margins.Left, fx), mR = Pixels(margins.Right, fx);
    const int mT = Pixels(margins.Top, fy), mB = Pixels(margins.Bottom, fy);
    const int ox = caps.PhysicalOffsetX, oy = caps.PhysicalOffsetY;
    const int left = mL - ox, top = mT - oy;
    const int right = caps.PhysicalWidth - ox - mR, bottom = caps.PhysicalHeight - oy - mB;
    const int half = caps.PhysicalWidth / 2;
    auto rect = [&](int l, int r) { return QRect(l, top, r - l, bottom - top); };

    TPrintJobGeometry g{rect(left, right), rect(left, half - ox - mR), rect(half - ox + mL, right), 0};
    if (twoSided) {
        g.Shift = mR - mL;
        g.MoveByShift();
        g.Shift = -g.Shift;
    }
    return g;
}
