#include "platform/metafile/PageGeometry.h"

#include "platform/base/Saturate.h"

#include <cmath>

namespace platform {

namespace {

long double ZoomFactor()
{
    return static_cast<long double>(PageZoom) * 0.01L;
}

int MmToDev(long double mm, int dpi)
{
    long double v = static_cast<long double>(dpi) * mm;
    v = v * (1.0L / 25.4L);
    v = v * ZoomFactor();
    // Sizes and positions from a file can be anything: beyond an int they saturate.
    return SaturatingRound(v);
}

float DevToMm(long double d, int dpi)
{
    long double v = d / static_cast<long double>(dpi);
    v = v * 25.4L;
    v = v / ZoomFactor();
    return static_cast<float>(v);
}

} // namespace

int MmToDevX(long double mm, int dpiX)
{
    return MmToDev(mm, dpiX);
}
int MmToDevY(long double mm, int dpiY)
{
    return MmToDev(mm, dpiY);
}
float DevToMmX(long double d, int dpiX)
{
    return DevToMm(d, dpiX);
}
float DevToMmY(long double d, int dpiY)
{
    return DevToMm(d, dpiY);
}

int PageWidthForDpi(int dpi)
{
    return MmToDev(kPageWidthMm, dpi);
}
int PageHeightForDpi(int dpi)
{
    return MmToDev(kPageHeightMm, dpi);
}

} // namespace platform
