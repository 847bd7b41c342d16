#include "platform/emf/EmfFaces.h"

#include "platform/text/WindowsFaces.h"

namespace platform::emf {

FaceInfo MapFace(const QString &face, quint8 pitchAndFamily)
{
    const QString name = face.trimmed();
    FaceKind kind = FaceKind::Sans;
    if (const std::optional<FaceKind> known = KnownFaceKind(name)) {
        kind = *known;
    } else if (!name.isEmpty()) {
        // FF_MODERN means strokes of even width, with or without serifs: only a fixed pitch, asked for
        // or left to the family, makes it a typewriter face ("맑은 고딕" is modern and of variable pitch).
        const int family = pitchAndFamily & 0xF0;
        const int pitch = pitchAndFamily & 0x3;
        if (family == 0x10) // FF_ROMAN
            kind = FaceKind::Serif;
        else if (pitch == 1 || (family == 0x30 && pitch != 2)) // FIXED_PITCH, FF_MODERN but not VARIABLE_PITCH
            kind = FaceKind::Mono;
    }
    // A symbol face has no stand-in: it is asked for by its own name, with Arial's metrics.
    return FaceInfo{kind == FaceKind::Symbol ? name : LiberationFamily(kind), WindowsAverageWidth(kind),
                    WindowsCellHeight(kind)};
}

} // namespace platform::emf
