// Fuzzes the PDF writer's 1-bit bands: arbitrary bits as the bands of sheets, coded in JBIG2 with a
// symbol dictionary per sheet or in CCITT group 4, whichever is smaller. The first bytes give the
// band width (1 to 4096), height (1 to 256), bands a sheet (1 to 8), sheets (1 to 3) and the colour
// table's order; the rest are the pixels, repeated as far as the bands need.
#include "platform/pdf/PdfDocument.h"

#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6)
        return 0;
    const int width = 1 + ((data[0] | data[1] << 8) & 0xFFF);
    const int height = 1 + data[2];
    const int bands = 1 + (data[3] & 7);
    const int sheets = 1 + data[4] % 3;
    const bool blackFirst = data[5] & 1;
    const uint8_t *bits = data + 6;
    const size_t count = size - 6;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    platform::PdfDocument pdf(out);
    size_t at = 0;
    for (int s = 0; s < sheets; ++s) {
        pdf.BeginSheet(QSizeF(210, 297));
        for (int b = 0; b < bands; ++b) {
            QImage band(width, height, QImage::Format_Mono);
            band.setColorTable(blackFirst ? QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}
                                          : QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)});
            for (int y = 0; y < height; ++y) {
                uchar *line = band.scanLine(y);
                for (qsizetype i = 0; i < band.bytesPerLine(); ++i, ++at)
                    line[i] = count ? bits[at % count] : 0;
            }
            pdf.DrawImage(band, QRectF(0, 10.0 * b, 200, 10));
        }
        pdf.EndSheet();
    }
    if (!pdf.Finish())
        __builtin_trap();
    return 0;
}
