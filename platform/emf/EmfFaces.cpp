#include "platform/emf/EmfFaces.h"


namespace platform::emf {
namespace {

const FaceInfo kSans{QStringLiteral("Liberation Sans"), 904.0 / 2048, 1.1172};
const FaceInfo kSerif{QStringLiteral("Liberation Serif"), 821.0 / 2048, 1.1074};
const FaceInfo kMono{QStringLiteral("Liberation Mono"), 1229.0 / 2048, 1.1328};

bool In(const QString &name, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

} // namespace

FaceInfo MapFace(const QString &face, quint8 pitchAndFamily)
{
    const QString name = face.trimmed().toLower();
    if (In(name, {"courier new", "courier", "consolas", "lucida console", "fixedsys", "terminal",
                  "liberation mono", "andale mono", "dejavu sans mono", "courier new ce", "ocr-b", "ocr a extended"}))
        return kMono;
    if (In(name, {"times new roman", "times", "ms serif", "georgia", "garamond", "book antiqua",
                  "bookman old style", "cambria", "century schoolbook", "palatino linotype", "liberation serif",
                  "tms rmn", "times new roman ce", "dejavu serif", "century"}))
        return kSerif;
    if (In(name, {"symbol", "wingdings", "wingdings 2", "wingdings 3", "webdings", "marlett"}))
        return FaceInfo{face.trimmed(), kSans.avgWidth, kSans.cell};
    if (name.isEmpty() || In(name, {"arial", "helvetica", "ms sans serif", "microsoft sans serif", "tahoma",
                                    "verdana", "segoe ui", "calibri", "ms shell dlg", "ms shell dlg 2", "system",
                                    "trebuchet ms", "arial ce", "arial narrow", "liberation sans", "dejavu sans",
                                    "arial unicode ms", "arial black", "univers", "lucida sans unicode"}))
        return kSans;
    // FF_MODERN means strokes of even width, with or without serifs: only a fixed pitch, asked for or
    // left to the family, makes it a typewriter face ("맑은 고딕" is modern and of variable pitch).
    const int family = pitchAndFamily & 0xF0;
    const int pitch = pitchAndFamily & 0x3;
    if (family == 0x10) // FF_ROMAN
        return kSerif;
    if (pitch == 1 || (family == 0x30 && pitch != 2)) // FIXED_PITCH, FF_MODERN but not VARIABLE_PITCH
        return kMono;
    return kSans;
}

} // namespace platform::emf
