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
    const int family = pitchAndFamily & 0xF0;
    if (family == 0x10) // FF_ROMAN
        return kSerif;
    if (family == 0x30 || (pitchAndFamily & 0x3) == 1) // FF_MODERN, FIXED_PITCH
        return kMono;
    return kSans;
}

} // namespace platform::emf
