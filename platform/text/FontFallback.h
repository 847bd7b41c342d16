#pragma once
// Faces for the characters a face has no glyph for, as the system's font fallback chooses them.
#include "platform/text/GdiFont.h"

#include <memory>

namespace platform {

// The face that draws ch when face has none: the installed font Qt's fallback (fontconfig) picks for
// the character, at face's pixel size, weight, slant and horizontal scale. Null when no installed font
// has the character. Answers are kept for the process.
std::shared_ptr<const FontFace> FallbackFace(const FontFace &face, char32_t ch);

// Whether a raw font stands for a real face. Qt draws boxes with an engine whose description names
// no family and that has no tables (a size past what the face engine takes does that); asking it for
// its family reads past an empty list.
bool IsRealFace(const QRawFont &raw);

} // namespace platform
