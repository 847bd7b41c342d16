#pragma once
// Fonts as the Windows graphics interface makes and measures them, on the Liberation faces.
#include <QColor>
#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform {

// One face at one size and horizontal scale, with GDI's metrics and cached glyphs and advances.
// Shared, never changed after creation except for its lazily filled character and advance caches.
class FontFace {
public:
    struct Glyph {
        quint16 index = 0;
        float advance = 0; // unscaled pixels at the pixel size (multiply by XScale() for page units)
    };

    // A face for a Qt font as it is (no horizontal scale), e.g. one a text document asked for.
    static std::shared_ptr<const FontFace> ForQFont(const QFont &font);

    const QFont &Font() const { return font_; }
    const QRawFont &RawFont() const { return raw_; }
    // Horizontal scale applied to glyphs and advances (the GDI average-width stretch).
    qreal XScale() const { return xScale_; }
    int PixelSize() const { return pixelSize_; }
    // GDI's tmAscent and tmHeight: from the face's Windows ascent and descent, rounded once.
    int Ascent() const { return ascent_; }
    int Height() const { return height_; }
    qreal AscentF() const { return ascentF_; }
    qreal DescentF() const { return descentF_; }
    bool Underline() const { return font_.underline(); }
    bool StrikeOut() const { return font_.strikeOut(); }
    qreal UnderlinePosition() const { return underlinePos_; }
    qreal LineThickness() const { return lineThickness_; }

    // The glyph and advance of one character (a UTF-16 unit or a whole code point). Asked for every
    // character laid out: a Latin one measured before is answered here.
    Glyph Lookup(char32_t ch) const
    {
        return ch < kTableSize && table_[ch].advance >= 0 ? table_[ch] : LookupFirst(ch);
    }
    // The glyph of a character of the table made with the face (Latin and its extensions), or none
    // for a character outside it. The table never changes, so any thread may read it.
    std::optional<quint16> TableGlyph(char32_t ch) const
    {
        return ch < kTableSize ? std::optional<quint16>(table_[ch].index) : std::nullopt;
    }
    // The advance of a glyph index in unscaled pixels. Asked for every glyph of every run, so a
    // glyph measured before costs a look in the table only.
    float Advance(quint16 glyph) const
    {
        return glyph < advances_.size() && advances_[glyph] >= 0 ? advances_[glyph] : MeasureAdvance(glyph);
    }
    // A glyph that draws nothing (the blanks); players leave it out, its advance still counts.
    bool IsBlank(quint16 glyph) const { return glyph == blank_[0] || glyph == blank_[1]; }
    // Text width in page units, unrounded: the sum of advances times the scale (no kerning, as GDI).
    qreal TextWidthF(const QString &text) const;

    // designMetrics: unhinted advances (page fonts); otherwise the advances the font's own engine lays
    // text out with, so that recorded Qt text keeps Qt's positions.
    FontFace(const QFont &font, qreal xScale, bool designMetrics = true);

private:
    float MeasureAdvance(quint16 glyph) const;
    Glyph LookupFirst(char32_t ch) const;

    QFont font_;
    QRawFont raw_;
    qreal xScale_ = 1;
    int pixelSize_ = 0;
    int ascent_ = 0;
    int height_ = 0;
    qreal ascentF_ = 0;
    qreal descentF_ = 0;
    qreal underlinePos_ = 0;
    qreal lineThickness_ = 1;
    static constexpr char32_t kTableSize = 0x250; // Latin, Latin-1 and Latin Extended-A/B
    mutable Glyph table_[kTableSize];             // advance negative until measured
    bool designMetrics_ = true;
    mutable std::vector<float> advances_; // by glyph index; negative until measured
    quint16 blank_[2] = {0xFFFF, 0xFFFF};
    mutable QHash<char32_t, Glyph> others_;
};

// A GDI logical font: a shared face plus the text colour the canvas draws it in.
class TFont {
public:
    // An 8-pixel-average, 16-pixel-high sans face in black.
    TFont();
    explicit TFont(std::shared_ptr<const FontFace> face, QColor color = Qt::black);

    const FontFace &Face() const { return *face_; }
    const std::shared_ptr<const FontFace> &FacePtr() const { return face_; }
    QColor Color() const { return color_; }
    void SetColor(const QColor &color) { color_ = color; }
    int Charset() const { return charset_; }
    void SetCharset(int charset) { charset_ = charset; }
    // The family name asked for when the font was created.
    const QString &FaceName() const { return faceName_; }
    void SetFaceName(const QString &name) { faceName_ = name; }

    // GDI metrics in page units: cell height (ascent + descent), ascent, average character width.
    int Height() const { return face_->Height(); }
    int Ascent() const { return face_->Ascent(); }
    int AverageWidth() const;
    // Text width rounded once, as GetTextExtentPoint gives it.
    int TextWidth(const QString &text) const;

private:
    std::shared_ptr<const FontFace> face_;
    QColor color_ = Qt::black;
    int charset_ = 1;
    QString faceName_;
};

// GDI's CreateFont. A negative height is the character (em) height in pixels, a positive one the cell
// height; a nonzero width makes the average character width |width| pixels. The face is mapped to
// Liberation Mono, Sans or Serif. Escapement, orientation, precisions, quality and pitch are ignored:
// page fonts are upright and drawn unhinted so that they measure the same everywhere.
TFont CreateFont(int height, int width, int escapement, int orientation, int weight, unsigned italic,
                 unsigned underline, unsigned strikeOut, unsigned charset, unsigned outputPrecision,
                 unsigned clipPrecision, unsigned quality, unsigned pitchAndFamily, const QString &face);

// The Liberation family that stands in for a Windows face name.
QString SubstituteFace(const QString &face);

} // namespace platform
