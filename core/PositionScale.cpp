#include "core/PositionScale.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

// A 32-bit integer times a single has at most 55 significant bits: exact in the x87 extended
// format (as the host program computes it), not always in a double.
using Wide = long double;

qint32 Saturate(Wide v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<Wide>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (v <= static_cast<Wide>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(v);
}

} // namespace

float PositionScaleFor(qint32 resolution)
{
    return static_cast<float>(Wide{180} / resolution);
}

qint32 ScaleRound(qint32 value, float scale)
{
    // nearbyint rounds in the current mode, which is to nearest with ties to even.
    return Saturate(std::nearbyint(static_cast<Wide>(value) * static_cast<Wide>(scale)));
}

qint32 ScaleTrunc(qint32 value, float scale)
{
    return Saturate(std::trunc(static_cast<Wide>(value) * static_cast<Wide>(scale)));
}
