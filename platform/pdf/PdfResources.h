#pragma once
// What a PDF page's content refers to by name: fonts, images, patterns and graphics states, kept by the
// document and shared by all its pages.
#include "platform/pdf/PdfFontProgram.h"
#include "platform/text/GdiFont.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace platform {

// Numbers as PDF content wants them: at most three decimals, no exponent, no trailing zeros.
void PdfNumber(std::string &out, double value);

// A font program embedded once per document, with what its pages use of it.
struct PdfFontFile {
    PdfFontProgram program;
    std::string baseName;          // PostScript name of the face
    std::vector<bool> used;        // by glyph index
    std::vector<char32_t> unicode; // by glyph index, 0 when unknown; the first character seen wins
    int descriptor = 0;            // object numbers, once written
    int toUnicode = 0;
    int encoding = 0;

    // Text shows glyphs in codes of one byte, 00 to 7F, for the first 128 glyphs a document uses, and of
    // two bytes, 8000 plus the glyph's CID, for the others: most text then takes a byte a letter. A glyph's
    // CID is its index; in faces of more glyphs than two-byte codes reach (the CJK ones) a glyph past them
    // takes a CID whose own glyph is unused, and the font gets a CID-to-glyph map.
    std::vector<qint16> singleCode; // by glyph index, -1 when it has none
    std::vector<quint16> singles;   // glyph of each one-byte code
    std::vector<qint32> cid;        // by glyph index, -1 until used
    std::vector<qint32> cidGlyph;   // by CID, the glyph it stands for or -1; empty while CIDs are indexes

    static constexpr quint32 kCids = 0x8000;

    explicit PdfFontFile(const QRawFont &font)
        : program(font), used(size_t(program.GlyphCount())), unicode(size_t(program.GlyphCount())),
          singleCode(size_t(program.GlyphCount()), -1), cid(size_t(program.GlyphCount()), -1)
    {
    }
    // Appends the code of glyph to bytes.
    void AppendCode(quint16 glyph, std::string &bytes)
    {
        if (glyph >= cid.size())
            glyph = 0;
        if (cid[glyph] < 0)
            cid[glyph] = NewCid(glyph);
        if (singleCode[glyph] < 0 && singles.size() < 0x80) {
            singleCode[glyph] = qint16(singles.size());
            singles.push_back(glyph);
        }
        if (singleCode[glyph] >= 0) {
            bytes.push_back(char(singleCode[glyph]));
        } else {
            bytes.push_back(char(0x80 | (cid[glyph] >> 8)));
            bytes.push_back(char(cid[glyph] & 0xFF));
        }
    }
    bool Remapped() const { return !cidGlyph.empty(); }

private:
    quint16 NewCid(quint16 glyph)
    {
        if (cid.size() <= kCids)
            return glyph;
        if (cidGlyph.empty())
            cidGlyph.assign(kCids, -1);
        quint32 c = glyph;
        if (c >= kCids || cidGlyph[c] >= 0) {
            // Free CIDs are taken from the top, where the glyphs of a face are used least.
            while (freeCid_ > 0 && (cidGlyph[freeCid_ - 1] >= 0 || cid[freeCid_ - 1] >= 0))
                --freeCid_;
            if (freeCid_ == 0)
                return 0; // more glyphs than codes: the rest show the missing glyph
            c = --freeCid_;
        }
        cidGlyph[c] = glyph;
        return quint16(c);
    }
    quint32 freeCid_ = kCids;
};

// A font of the page content: a font program at one pixel size, whose glyph widths are the face's
// own advances at that size, so that runs need no corrections for rounding.
struct PdfFontUse {
    std::string name; // resource name
    PdfFontFile *file = nullptr;
    std::shared_ptr<const FontFace> face;
    std::vector<bool> used; // by glyph index

    // Advance in thousandths of the em.
    double Width(quint16 glyph) const { return face->Advance(glyph) * 1000.0 / face->PixelSize(); }
    void Use(quint16 glyph, char32_t ch)
    {
        if (glyph >= used.size())
            return;
        used[glyph] = true;
        file->used[glyph] = true;
        if (!file->unicode[glyph])
            file->unicode[glyph] = ch;
    }
};

class PdfResources {
public:
    virtual ~PdfResources() = default;
    // The font that draws face's glyphs; null when the face cannot be embedded (its glyphs are then
    // drawn as outlines).
    virtual PdfFontUse *Font(const std::shared_ptr<const FontFace> &face) = 0;
    // Resource name of an image XObject showing image.
    virtual std::string Image(const QImage &image) = 0;
    // Resource name of a graphics state with fill and stroke opacity alpha.
    virtual std::string Opacity(double alpha) = 0;
    // Resource name of a coloured tiling pattern drawing a hatch style every 8 page units; the pattern
    // space is pageToPdf, the page units as placed on the PDF page.
    virtual std::string Hatch(Qt::BrushStyle style, QColor color, const QTransform &pageToPdf) = 0;
};

} // namespace platform
