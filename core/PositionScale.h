#pragma once
// Field positions and widths are stored in the file's own units and placed on the page at
// v x PositionScale device units, PositionScale being the single-precision 180 / Resolution.
#include <QtGlobal>

// 180 / resolution, rounded to single precision as the model keeps it.
float PositionScaleFor(qint32 resolution);
// Round(v x scale), halves to the even neighbour; results beyond the integer range saturate.
qint32 ScaleRound(qint32 value, float scale);
// Trunc(v x scale), toward zero; saturating like ScaleRound.
qint32 ScaleTrunc(qint32 value, float scale);
