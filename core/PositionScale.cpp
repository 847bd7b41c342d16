#include "core/PositionScale.h"

#include "platform/base/Saturate.h"

#include <cmath>
#include <limits>

namespace {

// A 32-bit integer times a single has at most 55 significant bits: exact in the x87 extended
// format (as the host program computes it), not always in a double.
using Wide = long double;

// The values handed over are whole already (rounded or truncated).
qint32 Saturate(Wide v)
{
    return platform::SaturatingTrunc<qint32>(v);
}

// The same for a whole double: read for every field, where the extended format's conversions
// cost more than the multiplication.
qint32 SaturateWhole(double v)
{
    constexpr double kLow = std::numeric_limits<qint32>::min(), kHigh = std::numeric_limits<qint32>::max();
    return v <= kLow    ? std::numeric_limits<qint32>::min()
           : v >= kHigh ? std::numeric_limits<qint32>::max()
                        : static_cast<qint32>(v);
}

} // namespace

float PositionScaleFor(qint32 resolution)
{
    return static_cast<float>(Wide{180} / resolution);
}

// Below 2^29 the product has at most 53 significant bits and a double holds it exactly; that is
// every real position, and it is much cheaper than the extended format.
constexpr qint32 kExactInDouble = 1 << 29;

qint32 ScaleRound(qint32 value, float scale)
{
    if (value > -kExactInDouble && value < kExactInDouble && std::isfinite(scale) && std::fabs(scale) <= 256) {
        const double product = static_cast<double>(value) * static_cast<double>(scale);
        // Adding and taking away 2^52 rounds to an integer in the current rounding mode, which
        // is to nearest with ties to even; the product is below 2^38.
        constexpr double kShift = 4503599627370496.0;
        const double rounded = product >= 0 ? (product + kShift) - kShift : (product - kShift) + kShift;
        return SaturateWhole(rounded);
    }
    return Saturate(std::nearbyint(static_cast<Wide>(value) * static_cast<Wide>(scale)));
}

qint32 ScaleTrunc(qint32 value, float scale)
{
    if (value > -kExactInDouble && value < kExactInDouble && std::isfinite(scale) && std::fabs(scale) <= 256)
        return SaturateWhole(std::trunc(static_cast<double>(value) * static_cast<double>(scale)));
    return Saturate(std::trunc(static_cast<Wide>(value) * static_cast<Wide>(scale)));
}
