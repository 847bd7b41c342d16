#pragma once
// Decoding of the device-independent bitmaps that EMF records carry (1 to 32 bits per pixel,
// colour tables, bit fields, RLE4/RLE8, top-down and bottom-up) into QImage.
#include <QImage>
#include <QList>

namespace platform::emf {

// Where a record keeps a bitmap: the BITMAPINFO block and the pixel bits.
struct DibBytes {
    const uchar *info = nullptr;
    quint32 infoSize = 0;
    const uchar *bits = nullptr;
    quint32 bitsSize = 0;
    quint32 usage = 0; // DIB_RGB_COLORS, or DIB_PAL_COLORS: the colour table indexes `palette`
};

struct Dib {
    QImage image;     // ARGB32 (pixels an RLE bitmap skips are transparent) or ARGB32 premultiplied
    int bitCount = 0; // 1 for a monochrome bitmap, whose colours a mono brush replaces
    bool topDown = false; // the rows were stored top row first
    int width() const { return image.width(); }
    int height() const { return image.height(); }
};

// The largest bitmap decoded, in pixels: bigger ones are skipped (each costs 4 bytes a pixel).
inline constexpr qint64 kMaxDibPixels = 25'000'000;

// Decodes a DIB; a null image when the block is not a bitmap that can be read. With
// `keepAlpha` a 32-bit bitmap keeps its alpha byte (premultiplied, as AlphaBlend reads it);
// otherwise that byte is ignored as GDI does. `rows`, when not zero, overrides the height
// (SetDIBitsToDevice sends only a band of scan lines).
Dib DecodeDib(const DibBytes &bytes, const QList<QRgb> &palette, bool keepAlpha = false, qint32 rows = 0);

} // namespace platform::emf
