#pragma once
// Decoding of the device-independent bitmaps that EMF records carry (1 to 32 bits per pixel,
// colour tables, bit fields, RLE4/RLE8, top-down and bottom-up) into QImage.
#include <QImage>
#include <QList>

#include <utility>
#include <vector>

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
    QImage image;         // ARGB32 (pixels an RLE bitmap skips are transparent) or ARGB32 premultiplied
    int bitCount = 0;     // 1 for a monochrome bitmap, whose colours a mono brush replaces
    bool topDown = false; // the rows were stored top row first
    int width() const { return image.width(); }
    int height() const { return image.height(); }
};

// The largest bitmap decoded, in pixels: bigger ones are skipped (each costs 4 bytes a pixel).
inline constexpr qint64 kMaxDibPixels = 25'000'000;

// The bitmaps one picture decoded, kept with the picture: every playing of it then hands the
// painter the same (implicitly shared) images, so page pictures that repeat it share them
// instead of holding a copy each. Holds at most kMaxBytes of pixels; past that bitmaps are
// decoded each time.
class DibCache {
public:
    struct Key {
        quint64 info = 0, bits = 0; // offsets of the blocks in the picture
        qint32 rows = 0;
        bool keepAlpha = false;
        friend bool operator==(const Key &, const Key &) = default;
    };
    static constexpr qint64 kMaxBytes = 256 << 20;

    const Dib *Find(const Key &key) const;
    void Add(const Key &key, const Dib &dib);

private:
    std::vector<std::pair<Key, Dib>> entries_;
    qint64 bytes_ = 0;
};

// Decodes a DIB; a null image when the block is not a bitmap that can be read. With
// `keepAlpha` a 32-bit bitmap keeps its alpha byte (premultiplied, as AlphaBlend reads it);
// otherwise that byte is ignored as GDI does. `rows`, when not zero, overrides the height
// (SetDIBitsToDevice sends only a band of scan lines).
Dib DecodeDib(const DibBytes &bytes, const QList<QRgb> &palette, bool keepAlpha = false, qint32 rows = 0);

} // namespace platform::emf
