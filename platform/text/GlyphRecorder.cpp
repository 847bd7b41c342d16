#include "platform/text/GlyphRecorder.h"

#include <QPainter>

namespace platform {

GlyphRecorder *GlyphRecorder::From(QPainter *painter)
{
    if (!painter || !painter->isActive())
        return nullptr;
    QPaintEngine *engine = painter->paintEngine();
    // Only a recorder answers to kType: type() is final there.
    return engine && engine->type() == kType ? static_cast<GlyphRecorder *>(engine) : nullptr;
}

} // namespace platform
