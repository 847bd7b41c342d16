#pragma once
// A TrueType face as a PDF embeds it: its metrics in PDF glyph units and a font program that keeps
// only the outlines of the glyphs a document uses.
#include <QByteArray>
#include <QRawFont>

#include <vector>

namespace platform {

class PdfFontProgram {
public:
    // Reads the face's tables; Valid() is false when the face has no TrueType outlines to embed.
    explicit PdfFontProgram(const QRawFont &font);

    bool Valid() const { return valid_; }
    // Advance of a glyph in thousandths of the em, as PDF's /W array wants it.
    double Width(quint16 glyph) const;
    // Font box, ascent, descent in thousandths of the em.
    int XMin() const { return Scale(xMin_); }
    int YMin() const { return Scale(yMin_); }
    int XMax() const { return Scale(xMax_); }
    int YMax() const { return Scale(yMax_); }
    int Ascent() const { return Scale(ascent_); }
    int Descent() const { return Scale(descent_); }
    bool FixedPitch() const { return fixedPitch_; }
    int GlyphCount() const { return glyphCount_; }

    // A complete sfnt file with the outlines of used (and the glyphs their composites refer to, and
    // glyph 0); every other glyph is kept as an empty outline so that glyph indexes stay as they are.
    QByteArray Subset(const std::vector<bool> &used) const;

private:
    int Scale(int units) const { return unitsPerEm_ > 0 ? units * 1000 / unitsPerEm_ : units; }
    // Bytes of glyph g in glyf, or an empty range.
    bool GlyphRange(quint16 g, quint32 &start, quint32 &end) const;

    bool valid_ = false;
    QByteArray head_, hhea_, maxp_, loca_, glyf_, hmtx_, cvt_, fpgm_, prep_, os2_, post_;
    int unitsPerEm_ = 1000;
    int xMin_ = 0, yMin_ = 0, xMax_ = 0, yMax_ = 0;
    int ascent_ = 0, descent_ = 0;
    bool longLoca_ = false;
    bool fixedPitch_ = false;
    int glyphCount_ = 0;
    std::vector<quint16> advances_;
};

} // namespace platform
