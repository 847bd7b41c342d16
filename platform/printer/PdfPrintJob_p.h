#pragma once
// A print job drawn into a PDF of the sheet's paper size, shared by the virtual PDF printer and the
// CUPS queues: device pixels of the canvas become millimetres on the sheet.
#include "platform/pdf/PdfDocument.h"
#include "platform/printer/PrinterBackend.h"

#include <QFileDevice>

#include <functional>
#include <memory>

namespace platform {

class PdfPrintJob : public TPrintJob {
public:
    // Hands the finished, flushed file to where the job goes; raises EPrinter when it cannot.
    using Deliver = std::function<void(QFileDevice &file)>;

    // Draws sheets of paperMm into file, which is open for writing; caps give the resolution and
    // where the printable area begins. Destroying the job before End drops file unsent.
    PdfPrintJob(QSizeF paperMm, const TDeviceCaps &caps, std::unique_ptr<QFileDevice> file, Deliver deliver);

    void DrawPicture(const QRect &target, const PageMetafile &page, const RecordCallback &change) override;
    void DrawImage(QPoint topLeft, const QImage &image) override;
    void NewSheet() override;
    void End() override;

private:
    QRectF ToMm(const QRectF &pixels) const;

    QSizeF paperMm_;
    TDeviceCaps caps_;
    std::unique_ptr<QFileDevice> file_;
    Deliver deliver_;
    PdfDocument pdf_; // after file_, so that it goes first
    bool ended_ = false;
};

} // namespace platform
