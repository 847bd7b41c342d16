#pragma once
// Where a drawing record can put paint: a rectangle in the record's logical units that holds
// everything it draws. Internal to the metafile player, which passes over records outside a band.
#include "platform/metafile/PageMetafile.h"

#include <QRectF>

#include <optional>

namespace platform {

// A rectangle in logical units (before the world transform) that holds every pixel record can
// paint with pen (the current pen; text ignores it), generously: it may be larger, never smaller.
// None for records that draw nothing (state records) and for those whose reach is unknown.
std::optional<QRectF> DrawingBounds(const MetaRecord &record, const QPen &pen);

} // namespace platform
