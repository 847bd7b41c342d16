#include "platform/text/GdiFont.h"

#include "platform/text/WindowsFaces.h"

#include <QByteArray>
#include <QStringView>

#include <cmath>

namespace platform {

namespace {

// The kind of the Liberation face a page font was made with.
FaceKind KindOf(const QString &family)
{
    if (family == LiberationFamily(FaceKind::Mono))
        return FaceKind::Mono;
    if (family == LiberationFamily(FaceKind::Serif))
        return FaceKind::Serif;
    return FaceKind::Sans;
}

// A page font's kind: the face table's, or for a face it does not hold, guessed from the name.
FaceKind PageFaceKind(const QString &face)
{
    QString name = face.trimmed();
    // Windows maps the Central European and other script variants to the base face.
    static const char *const kScriptSuffixes[] = {" CE", " CYR", " Cyr", " Baltic", " Greek", " TUR", " Tur"};
    for (const char *suffix : kScriptSuffixes) {
        if (name.endsWith(QLatin1String(suffix))) {
            name.chop(int(qstrlen(suffix)));
            break;
        }
    }
    if (const std::optional<FaceKind> known = KnownFaceKind(name))
        return *known;
    const QString lower = name.toLower();
    if (lower.contains(u"courier") || lower.contains(u"mono") || lower.contains(u"console") ||
        lower.contains(u"fixedsys") || lower.contains(u"terminal"))
        return FaceKind::Mono;
    if (lower.contains(u"times") || lower.contains(u"roman") ||
        (lower.contains(u"serif") && !lower.contains(u"sans")) || lower.contains(u"georgia") ||
        lower.contains(u"garamond") || lower.contains(u"book antiqua"))
        return FaceKind::Serif;
    return FaceKind::Sans;
}

quint16 ReadU16(const QByteArray &table, int offset, quint16 fallback)
{
    if (offset < 0 || table.size() < offset + 2)
        return fallback;
    const auto *p = reinterpret_cast<const uchar *>(table.constData() + offset);
    return quint16((p[0] << 8) | p[1]);
}

// The vertical metrics GDI uses: the OS/2 Windows ascent and descent over the em.
struct VerticalMetrics {
    qreal ascent = 0.9;  // per em
    qreal descent = 0.2; // per em
    int glyphCount = 0;
};

VerticalMetrics ReadVerticalMetrics(const QRawFont &raw)
{
    VerticalMetrics m;
    const QByteArray head = raw.fontTable("head");
    const QByteArray os2 = raw.fontTable("OS/2");
    const quint16 upem = ReadU16(head, 18, 0);
    const quint16 winAscent = ReadU16(os2, 74, 0);
    const quint16 winDescent = ReadU16(os2, 76, 0);
    if (upem > 0 && winAscent + winDescent > 0) {
        m.ascent = qreal(winAscent) / upem;
        m.descent = qreal(winDescent) / upem;
    } else if (raw.pixelSize() > 0) {
        m.ascent = raw.ascent() / raw.pixelSize();
        m.descent = raw.descent() / raw.pixelSize();
    }
    m.glyphCount = ReadU16(raw.fontTable("maxp"), 4, 0);
    return m;
}

struct FaceKey {
    QString fontKey;
    qreal xScale;
    bool designMetrics;
    bool operator==(const FaceKey &o) const
    {
        return fontKey == o.fontKey && xScale == o.xScale && designMetrics == o.designMetrics;
    }
};

size_t qHash(const FaceKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.fontKey, k.xScale, k.designMetrics);
}

// Faces are built once per process: a page build asks for the same few fonts over and over.
std::shared_ptr<const FontFace> SharedFace(const QFont &font, qreal xScale, bool designMetrics)
{
    static QHash<FaceKey, std::shared_ptr<const FontFace>> cache;
    const FaceKey key{font.key(), xScale, designMetrics};
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= 512)
        cache.clear(); // a bound for a pathological printout with endless sizes; pages keep their own
    auto face = std::make_shared<const FontFace>(font, xScale, designMetrics);
    cache.insert(key, face);
    return face;
}

QFont PageFont(const QString &family, int pixelSize, int weight, bool italic, bool underline, bool strikeOut)
{
    QFont f(family);
    f.setPixelSize(std::max(1, pixelSize));
    f.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoFontMerging));
    return f;
}

} // namespace

FontFace::FontFace(const QFont &font, qreal xScale, bool designMetrics) : font_(font), xScale_(xScale > 0 ? xScale : 1)
{
    font_.setResolveMask(QFont::AllPropertiesResolved);
    raw_ = QRawFont::fromFont(font_);
    pixelSize_ = font_.pixelSize() > 0 ? font_.pixelSize() : int(std::lround(raw_.pixelSize()));
    const VerticalMetrics vm = ReadVerticalMetrics(raw_);
    ascentF_ = vm.ascent * pixelSize_;
    descentF_ = vm.descent * pixelSize_;
    ascent_ = int(std::nearbyint(ascentF_));
    height_ = int(std::nearbyint(ascentF_ + descentF_));
    if (raw_.isValid()) {
        underlinePos_ = raw_.underlinePosition();
        lineThickness_ = std::max<qreal>(1.0, raw_.lineThickness());
    }

    designMetrics_ = designMetrics;
    // Advances are measured when first asked for: measuring one loads the glyph, and the whole face
    // at once took most of the time to a small printout's first page.
    if (vm.glyphCount > 0 && raw_.isValid())
        advances_.assign(size_t(vm.glyphCount), -1.0f);

    QChar chars[kTableSize];
    for (char32_t c = 0; c < kTableSize; ++c)
        chars[c] = QChar(char16_t(c));
    quint32 glyphs[kTableSize] = {};
    int n = int(kTableSize);
    if (raw_.isValid())
        raw_.glyphIndexesForChars(chars, int(kTableSize), glyphs, &n);
    for (char32_t c = 0; c < kTableSize; ++c)
        table_[c] = {quint16(glyphs[c]), -1.0f};
    if (table_[0x20].index != 0)
        blank_[0] = table_[0x20].index;
    if (table_[0xA0].index != 0)
        blank_[1] = table_[0xA0].index;
}

std::shared_ptr<const FontFace> FontFace::ForQFont(const QFont &font)
{
    QFont f = font;
    if (f.pixelSize() <= 0) {
        // Point sizes are taken at the page's 96 dpi.
        f.setPixelSize(std::max(1, int(std::lround(f.pointSizeF() * 96.0 / 72.0))));
    }
    f.setResolveMask(QFont::AllPropertiesResolved);
    return SharedFace(f, 1.0, f.hintingPreference() == QFont::PreferNoHinting);
}

float FontFace::MeasureAdvance(quint16 glyph) const
{
    if (glyph >= advances_.size())
        return 0;
    const quint32 id = glyph;
    QPointF advance;
    raw_.advancesForGlyphIndexes(&id, &advance, 1,
                                 designMetrics_ ? QRawFont::UseDesignMetrics : QRawFont::SeparateAdvances);
    advances_[glyph] = float(std::max<qreal>(0, advance.x()));
    return advances_[glyph];
}

FontFace::Glyph FontFace::LookupFirst(char32_t ch) const
{
    if (ch < kTableSize) {
        Glyph &g = table_[ch];
        if (g.advance < 0)
            g.advance = Advance(g.index);
        return g;
    }
    auto it = others_.constFind(ch);
    if (it != others_.constEnd())
        return *it;
    Glyph g;
    if (raw_.isValid()) {
        char16_t units[2];
        int len = 1;
        if (QChar::requiresSurrogates(ch)) {
            units[0] = QChar::highSurrogate(ch);
            units[1] = QChar::lowSurrogate(ch);
            len = 2;
        } else {
            units[0] = char16_t(ch);
        }
        quint32 ids[2] = {};
        int n = 2;
        raw_.glyphIndexesForChars(reinterpret_cast<const QChar *>(units), len, ids, &n);
        g.index = quint16(ids[0]);
        g.advance = Advance(g.index);
    }
    others_.insert(ch, g);
    return g;
}

qreal FontFace::TextWidthF(const QString &text) const
{
    qreal sum = 0;
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && p[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), p[++i].unicode());
        sum += Lookup(c).advance;
    }
    return sum * xScale_;
}

TFont::TFont() : TFont(CreateFont(-16, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0, QStringLiteral("Arial"))) {}

TFont::TFont(std::shared_ptr<const FontFace> face, QColor color) : face_(std::move(face)), color_(color) {}

int TFont::AverageWidth() const
{
    const qreal avg = WindowsAverageWidth(KindOf(face_->Font().family()));
    return int(std::nearbyint(avg * face_->PixelSize() * face_->XScale()));
}

int TFont::TextWidth(const QString &text) const
{
    return int(std::nearbyint(face_->TextWidthF(text)));
}

QString SubstituteFace(const QString &face)
{
    // A symbol face has no stand-in: page text draws it in Liberation Sans.
    return LiberationFamily(PageFaceKind(face));
}

TFont CreateFont(int height, int width, int /*escapement*/, int /*orientation*/, int weight, unsigned italic,
                 unsigned underline, unsigned strikeOut, unsigned charset, unsigned /*outputPrecision*/,
                 unsigned /*clipPrecision*/, unsigned /*quality*/, unsigned /*pitchAndFamily*/, const QString &face)
{
    InstallFontSubstitutions();
    const FaceKind kind = PageFaceKind(face);
    const QString family = LiberationFamily(kind);
    if (weight <= 0)
        weight = 400; // FW_DONTCARE
    int pixels = 16;  // GDI's default when the height is 0
    if (height < 0) {
        pixels = -height;
    } else if (height > 0) {
        // A positive height is the cell height: ascent + descent.
        const FontFace probe(PageFont(family, 1000, weight, italic, false, false), 1.0);
        const qreal cell = (probe.AscentF() + probe.DescentF()) / 1000.0;
        pixels = std::max(1, int(std::nearbyint(height / cell)));
    }
    const QFont qf = PageFont(family, pixels, weight, italic != 0, underline != 0, strikeOut != 0);
    qreal xScale = 1;
    if (width != 0) {
        const qreal natural = WindowsAverageWidth(kind) * pixels;
        xScale = std::abs(width) / natural;
    }
    TFont font(SharedFace(qf, xScale, true));
    font.SetCharset(int(charset));
    font.SetFaceName(face);
    return font;
}

} // namespace platform
