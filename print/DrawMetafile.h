#pragma once
// Putting one page picture onto a canvas: in colour, or in black and white by forcing the colours of
// its records as they are played; onto the printer as a picture or as a series of image bands.
#include "platform/metafile/PageMetafile.h"
#include "platform/printer/PrinterCanvas.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

// The colours RecolorRecord forces: paper for backgrounds and fills, ink for text and lines.
struct TColorPair {
    QColor Paper;
    QColor Ink;
};

// The record callback of the recoloured playback: the header and text colours and pens become ink,
// background colours and brushes become paper; every other record keeps its colours. Always lets
// the enumeration go on.
bool RecolorRecord(platform::MetaRecord &record, const TColorPair &colors);

// Plays page scaled into target with its colours forced by RecolorRecord; page itself never changes.
void DrawMetafileRecolored(QPainter &canvas, const QRect &target, const platform::PageMetafile &page,
                           const QColor &paper, const QColor &ink);
// DrawMetafileRecolored with paper white and ink black.
void DrawMetafileMono(QPainter &canvas, const QRect &target, const platform::PageMetafile &page);
// Monochrome: DrawMetafileMono; otherwise the page stretched into target in its own colours.
void DrawPage(QPainter &canvas, const QRect &target, const platform::PageMetafile &page, bool mono);

// Copies the top rows of band onto printer, unscaled, with their top-left corner at (left, top).
void BlitToPrinter(platform::TPrinterCanvas &printer, const QImage &band, int left, int top, int rows);

// Draws one page into target (device pixels) on printer's current sheet: as a picture, or with
// bitmap set as bands of target's height div 20 rows (16-bit colour, or 1-bit when mono), the page
// played once per band. A target under 20 pixels high is drawn as a picture.
void DrawPageOnPrinter(platform::TPrinterCanvas &printer, const QRect &target, const platform::PageMetafile &page,
                       bool mono, bool bitmap);
