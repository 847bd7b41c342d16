#pragma once
// Turns the records of one page picture into a PDF content stream: vector drawing, text as glyph runs
// of embedded fonts, images as XObjects.
#include "platform/metafile/PageMetafile.h"
#include "platform/pdf/PdfResources.h"

#include <string>

namespace platform {

class PdfContent {
public:
    // pageToPdf places page units on the PDF page (in points, y up); the page's drawing is clipped to
    // its own area.
    PdfContent(PdfResources &resources, const QTransform &pageToPdf, QSize pageSize);
    // The content of a form XObject in page units, drawn where page units are already placed and the
    // page clipped: patterns lie in the form's own space, which is that of the page units.
    explicit PdfContent(PdfResources &resources);

    // Paints the form XObject of that resource name, made by the constructor above, with the state the
    // page has outside every segment; the records after it restate whatever they use.
    void Form(const std::string &name);

    // Draws one record; records of kinds a PDF cannot show are skipped.
    void Add(const MetaRecord &record);
    // Closes every open state and hands the content stream over.
    std::string Finish();

private:
    void Raw(const char *text) { s_.append(text); }
    void Num(double v)
    {
        PdfNumber(s_, v);
        s_.push_back(' ');
    }
    void Point(QPointF p)
    {
        Num(p.x());
        Num(p.y());
    }
    void ColorOp(const QColor &c, const char *op);

    void EnsureSegment();
    void EndText();
    bool UseFill(const QColor &color);
    bool UseStroke();
    bool UseBrush();
    void UseAlpha(double alpha);
    void PathOps(const QPainterPath &path);
    void RectOps(const QRectF &r);
    // Fills and/or strokes the path just built with the current brush and pen.
    void PaintPath(bool fillable, Qt::FillRule rule, const std::function<void()> &build);
    void Text(const MetaRecord &r);
    // Which glyphs of a text record any part of shows inside the clip; empty when all do.
    QList<bool> ShownGlyphs(const MetaRecord &r) const;
    void MoveTextTo(QPointF at);
    void GlyphString(const char *glyphs, qsizetype count);
    void FlushGlyphs();
    void CloseShow();
    bool FillIs(const QColor &color) const;
    void GlyphOutlines(const MetaRecord &r);
    void PlaceImage(const QRectF &target, const QImage &image);
    void Decorations(const MetaRecord &r);

    PdfResources &res_;
    QTransform pageToPdf_;
    bool framed_ = true; // the stream places and clips the page itself, within a q ... Q of its own
    std::string s_;

    // The picture's current state.
    QColor textColor_ = Qt::black;
    QPen pen_;
    QBrush brush_;
    bool bkOpaque_ = false;
    QColor bkColor_ = Qt::white;
    double opacity_ = 1;
    QTransform world_;
    ClipMode clipMode_ = ClipMode::None;
    QRectF clipRect_;
    QPainterPath clipPath_;

    // What the stream has set inside the current q ... Q segment.
    bool segmentDirty_ = true;
    bool inSegment_ = false;
    bool fillKnown_ = false;
    QRgb fill_ = 0;
    std::string fillPattern_;
    bool strokeKnown_ = false;
    std::string stroke_;
    double alpha_ = 1;
    // Text state inside BT ... ET: font, size, horizontal scale and the line origin in page units.
    bool inText_ = false;
    const PdfFontUse *textFont_ = nullptr;
    double textSize_ = 0;
    double textScale_ = 1;
    QPointF lineOrigin_;
    bool lineKnown_ = false; // the line matrix is set in this text object
    // An open TJ array that runs on the same baseline in the same look keep adding to.
    bool showOpen_ = false;
    std::string glyphs_; // glyph codes not yet written
    double penX_ = 0;    // where the PDF pen stands after the glyphs so far
    double penY_ = 0;
};

} // namespace platform
