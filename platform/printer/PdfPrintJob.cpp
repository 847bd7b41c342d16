#include "platform/printer/PdfPrintJob_p.h"

#include "platform/printer/PrinterError.h"

namespace platform {

PdfPrintJob::PdfPrintJob(QSizeF paperMm, const TDeviceCaps &caps, std::unique_ptr<QFileDevice> file, Deliver deliver)
    : paperMm_(paperMm), caps_(caps), file_(std::move(file)), deliver_(std::move(deliver)), pdf_(*file_)
{
    pdf_.BeginSheet(paperMm_);
}

QRectF PdfPrintJob::ToMm(const QRectF &pixels) const
{
    const double mmX = 25.4 / (caps_.LogPixelsX > 0 ? caps_.LogPixelsX : 600);
    const double mmY = 25.4 / (caps_.LogPixelsY > 0 ? caps_.LogPixelsY : 600);
    return QRectF((pixels.x() + caps_.PhysicalOffsetX) * mmX, (pixels.y() + caps_.PhysicalOffsetY) * mmY,
                  pixels.width() * mmX, pixels.height() * mmY);
}

void PdfPrintJob::DrawPicture(const QRect &target, const PageMetafile &page, const RecordCallback &change)
{
    pdf_.DrawPage(page, ToMm(QRectF(target)), change);
}

void PdfPrintJob::DrawImage(QPoint topLeft, const QImage &image)
{
    pdf_.DrawImage(image, ToMm(QRectF(topLeft, QSizeF(image.size()))));
}

void PdfPrintJob::NewSheet()
{
    pdf_.BeginSheet(paperMm_);
}

void PdfPrintJob::End()
{
    if (ended_)
        return;
    ended_ = true;
    if (!pdf_.Finish() || !file_->flush())
        throw EPrinter(
            QStringLiteral("Nie można zapisać wydruku do pliku %1: %2").arg(file_->fileName(), file_->errorString()));
    deliver_(*file_);
}

} // namespace platform
