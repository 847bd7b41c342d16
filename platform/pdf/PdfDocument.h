#pragma once
// Writes page pictures into a PDF file of our own making: vector drawing, subset TrueType fonts
// embedded once per document, text that PDF readers can select and extract.
#include "platform/metafile/PageMetafile.h"

#include <QIODevice>
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

    // Adds a sheet of paperMm with page stretched into targetMm (millimetres from the sheet's top-left
    // corner). change, when given, may alter each record before it is drawn, as in enumeration.
    void AddPage(const PageMetafile &page, QSizeF paperMm, const QRectF &targetMm, const RecordCallback &change = {});
    // Writes fonts, images' tables, the page tree and the cross-reference table. False when any write
    // to the device failed.
    bool Finish();
    int PageCount() const;

private:
    std::unique_ptr<PdfDocumentWriter> w_;
};

} // namespace platform
