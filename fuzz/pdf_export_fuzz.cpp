// libFuzzer target for the PDF writer and the page text: arbitrary bytes are read as an EMF
// picture (the one way outside data reaches a page's records), drawn onto a page picture with a
// transform and a clip, and the page is written to PDF, in colour and in black and white, and read
// back as text. Only the invalid-metafile error may come out; anything else is a finding.
#include "platform/base/Exception.h"
#include "platform/emf/EmfPicture.h"
#include "platform/metafile/PageText.h"
#include "platform/metafile/RecordColors.h"
#include "platform/pdf/PdfDocument.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <cstdint>

// fontconfig keeps a cache it never frees when a face name sends it looking: not ours to fix.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const platform::TEmfPicture picture(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        platform::PageMetafile page;
        {
            QPainter painter(&page);
            picture.Draw(painter, QRectF(50, 50, 1300, 900));
            painter.translate(100, 1000);
            painter.rotate(15);
            painter.setClipRect(QRectF(0, 0, 600, 400));
            picture.Draw(painter, QRectF(0, 0, 700, 500));
        }
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        platform::PdfDocument pdf(out);
        pdf.AddPage(page, QSizeF(210, 297), QRectF(10, 15, 190, 257));
        pdf.AddPage(page, QSizeF(210, 297), QRectF(0, 0, 210, 297), platform::MonochromeRecords());
        if (!pdf.Finish() || !out.data().endsWith("%%EOF\n"))
            __builtin_trap();
        (void)platform::PageText(page);
    } catch (const EInvalidGraphic &) {
    }
    return 0;
}
