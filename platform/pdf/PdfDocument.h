#pragma once
// Writes page pictures into a PDF file of our own making: vector drawing, subset TrueType fonts
// embedded once per document, text that PDF readers can select and extract. A sheet may hold several
// pages and images; images go to the file as soon as they are drawn, 1-bit ones when their sheet ends.
#include "platform/metafile/PageMetafile.h"

#include <QIODevice>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <memory>

namespace platform {

class PdfDocumentWriter;

class PdfDocument {
public:
    // Writes to out, which must be open for writing and stay so until Finish.
    explicit PdfDocument(QIODevice &out);
    ~PdfDocument();
    PdfDocument(const PdfDocument &) = delete;
    PdfDocument &operator=(const PdfDocument &) = delete;

    // Starts a sheet of paperMm, ending the one before.
    void BeginSheet(QSizeF paperMm);
    // Draws page stretched into targetMm (millimetres from the sheet's top-left corner) and clipped to
    // it. change, when given, may alter each record before it is drawn, as in enumeration.
    void DrawPage(const PageMetafile &page, const QRectF &targetMm, const RecordCallback &change = {});
    // Draws image stretched into targetMm. 1-bit images are kept (shared, not copied) until the sheet
    // ends and then written as 1-bit grey: in JBIG2 with a symbol dictionary shared by the sheet's
    // 1-bit images, or in CCITT group 4 where that is smaller. 16-bit ones go at once as 8-bit RGB
    // with PNG predictors. A white 1-bit or 16-bit image where the sheet has no drawing yet is left out.
    void DrawImage(const QImage &image, const QRectF &targetMm);
    void EndSheet();
    // A sheet of paperMm holding page alone.
    void AddPage(const PageMetafile &page, QSizeF paperMm, const QRectF &targetMm, const RecordCallback &change = {});
    // Ends the open sheet and writes fonts, images' tables, the page tree and the cross-reference table. False when any
    // write to the device failed.
    bool Finish();
    int PageCount() const;

private:
    std::unique_ptr<PdfDocumentWriter> w_;
};

} // namespace platform
