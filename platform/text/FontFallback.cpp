#include "platform/text/FontFallback.h"

#include <QGlyphRun>
#include <QHash>
#include <QTextLayout>

#include <vector>

namespace platform {

namespace {

// A raw font's family, or empty for one that stands for no real face.
QString FamilyOf(const QRawFont &raw)
{
    return IsRealFace(raw) ? raw.familyName() : QString();
}

// The family Qt's own font merging draws ch with, or empty when it has only the missing glyph.
QString MergedFamily(const QFont &font, char32_t ch)
{
    QFont merging = font;
    merging.setStyleStrategy(QFont::PreferOutline);
    // The family does not depend on the size; a moderate one keeps clear of the box engine.
    merging.setPixelSize(48);
    QTextLayout layout(QString::fromUcs4(&ch, 1), merging);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (!glyphs.isEmpty() && glyphs.front() != 0)
            return FamilyOf(run.rawFont());
    }
    return {};
}

struct Fallbacks {
    std::vector<std::shared_ptr<const FontFace>> faces; // found so far, tried in this order
    QHash<char32_t, int> chosen;                        // character -> index in faces, -1 for none
};

} // namespace

std::shared_ptr<const FontFace> FallbackFace(const FontFace &face, char32_t ch)
{
    // A face's fallbacks are few (one per script or so), each asked for many characters.
    static QHash<QString, Fallbacks> cache;
    if (cache.size() >= 256)
        cache.clear();
    const QString key = face.Font().key() + QLatin1Char('/') + QString::number(face.XScale(), 'g', 17);
    Fallbacks &known = cache[key];
    if (auto it = known.chosen.constFind(ch); it != known.chosen.constEnd())
        return *it >= 0 ? known.faces[size_t(*it)] : nullptr;
    if (known.chosen.size() >= 65536)
        known.chosen.clear();

    int index = -1;
    for (size_t i = 0; i < known.faces.size() && index < 0; ++i)
        if (known.faces[i]->Lookup(ch).index != 0)
            index = int(i);
    if (index < 0) {
        const QString family = MergedFamily(face.Font(), ch);
        if (!family.isEmpty() && family != FamilyOf(face.RawFont())) {
            QFont font = face.Font();
            font.setFamilies({family});
            font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoFontMerging));
            auto fallback = std::make_shared<const FontFace>(font, face.XScale());
            if (fallback->RawFont().isValid() && fallback->Lookup(ch).index != 0) {
                known.faces.push_back(std::move(fallback));
                index = int(known.faces.size()) - 1;
            }
        }
    }
    known.chosen.insert(ch, index);
    return index >= 0 ? known.faces[size_t(index)] : nullptr;
}

bool IsRealFace(const QRawFont &raw)
{
    return raw.isValid() && !raw.fontTable("head").isEmpty();
}

} // namespace platform
