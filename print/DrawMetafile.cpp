#include "print/DrawMetafile.h"

#include "platform/metafile/RecordColors.h"

#include <algorithm>
#include <cstring>
#include <new>

using platform::MetaRecord;
using platform::PageMetafile;
using platform::RecordCallback;
using platform::TPrinterCanvas;

namespace {

// A page printed in bands is cut into this many bands of equal height, plus the rows left over.
constexpr int kBands = 20;

const TColorPair kMonoColors{Qt::white, Qt::black};

RecordCallback Recoloring(const TColorPair &colors)
{
    return [colors](MetaRecord &record) { return RecolorRecord(record, colors); };
}

// The 1-bit byte of up to eight pixels, cut at middle grey; the pixels become white again.
uchar Cut(QRgb *in, int n)
{
    if (n == 8 && (in[0] & in[1] & in[2] & in[3] & in[4] & in[5] & in[6] & in[7]) == 0xffffffffu)
        return 0;
    uchar byte = 0;
    for (int i = 0; i < n; ++i) {
        byte |= uchar(qGray(in[i]) < 128 ? 0x80 >> i : 0);
        in[i] = 0xffffffffu;
    }
    return byte;
}

// QPainter cannot paint on a 1-bit image, so monochrome bands are painted in colour and cut at
// middle grey, without dithering: anti-aliased edges and grey areas become pure black or white.
// Index 0 is paper and 1 ink, as QImage's own conversion to 1 bit has them. The painted rows are
// left white again, so the next band needs no fill: only the few pixels that held ink are written.
void Threshold(QImage &painted, QImage &bits, int rows)
{
    const int width = painted.width();
    const qsizetype stride = bits.bytesPerLine();
    uchar *const out = bits.bits();
    for (int y = 0; y < rows; ++y) {
        auto *in = reinterpret_cast<QRgb *>(painted.scanLine(y));
        uchar *line = out + y * stride;
        // Most of a printed page is paper: eight white pixels are seen at once.
        for (int x = 0; x < width; x += 8, in += 8)
            line[x >> 3] = Cut(in, std::min(8, width - x));
    }
}

} // namespace

bool RecolorRecord(MetaRecord &record, const TColorPair &colors)
{
    platform::ForceRecordColors(record, colors.Paper, colors.Ink);
    // A record that fails to play is the player's business: the page goes on.
    return true;
}

void DrawMetafileRecolored(QPainter &canvas, const QRect &target, const PageMetafile &page, const QColor &paper,
                           const QColor &ink)
{
    // Enumeration hands out copies of the records, so the forced colours never reach the page.
    page.Enumerate(canvas, target, Recoloring(TColorPair{paper, ink}));
}

void DrawMetafileMono(QPainter &canvas, const QRect &target, const PageMetafile &page)
{
    DrawMetafileRecolored(canvas, target, page, kMonoColors.Paper, kMonoColors.Ink);
}

void DrawPage(QPainter &canvas, const QRect &target, const PageMetafile &page, bool mono)
{
    if (mono)
        DrawMetafileMono(canvas, target, page);
    else
        page.Play(canvas, target);
}

void BlitToPrinter(TPrinterCanvas &printer, const QImage &band, int left, int top, int rows)
{
    rows = std::min(rows, band.height());
    if (rows <= 0)
        return;
    printer.DrawImage(QPoint(left, top), rows == band.height() ? band : band.copy(0, 0, band.width(), rows));
}

void DrawPageOnPrinter(TPrinterCanvas &printer, const QRect &target, const PageMetafile &page, bool mono, bool bitmap)
{
    const int height = target.height();
    const int bandHeight = height / kBands;
    // A target too small for twenty bands of at least a row has no band height: it goes as a picture.
    if (!bitmap || bandHeight <= 0 || target.width() <= 0) {
        printer.DrawPicture(target, page, mono ? Recoloring(kMonoColors) : RecordCallback());
        return;
    }
    const int width = target.width();
    QImage band(width, bandHeight, mono ? QImage::Format_RGB32 : QImage::Format_RGB16);
    QImage bits;
    if (mono) {
        bits = QImage(width, bandHeight, QImage::Format_Mono);
        bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        bits.fill(0); // the padding at the ends of the lines, which no band writes
    }
    if (band.isNull() || (mono && bits.isNull()))
        throw std::bad_alloc();
    // The page is played into every band, shifted up by the rows already printed, and only the
    // band's slice stays; the records that draw wholly outside the band are passed over. The last
    // band holds the rows left over, none when the height is a multiple of twenty.
    for (int done = 0; done < height; done += bandHeight) {
        const int rows = std::min(bandHeight, height - done);
        // Filled with no painter open: a canvas that kept the previous band keeps its own copy. A
        // monochrome band is only ever read by Threshold, which leaves it white.
        if (!mono || done == 0)
            band.fill(Qt::white);
        {
            QPainter painter(&band);
            // Only the band's rows take drawing, the short last band's included.
            painter.setClipRect(0, 0, width, rows);
            page.EnumerateVisible(painter, QRect(0, -done, width, height), QRectF(0, 0, width, rows),
                                  mono ? Recoloring(kMonoColors) : RecordCallback());
        }
        if (mono)
            Threshold(band, bits, rows);
        BlitToPrinter(printer, mono ? bits : band, target.left(), target.top() + done, rows);
    }
}
