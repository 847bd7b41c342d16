#include "platform/emf/EmfDib.h"

#include "platform/emf/EmfTypes_p.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>

namespace platform::emf {
namespace {

enum Compression {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_JPEG = 4,
    BI_PNG = 5,
    BI_ALPHABITFIELDS = 6
};

quint32 Le32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 Le16(const uchar *p)
{
    return quint16(p[0] | p[1] << 8);
}

struct Header {
    qint64 width = 0, height = 0; // height < 0: top-down
    int bitCount = 0;
    quint32 compression = BI_RGB;
    quint32 clrUsed = 0;
    quint32 headerSize = 0;
    bool core = false;
    quint32 masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
};

bool ReadHeader(const DibBytes &b, Header &h)
{
    if (!b.info || b.infoSize < 12)
        return false;
    h.headerSize = Le32(b.info);
    if (h.headerSize == 12) {
        h.core = true;
        h.width = Le16(b.info + 4);
        h.height = Le16(b.info + 6);
        h.bitCount = Le16(b.info + 10);
        return true;
    }
    if (h.headerSize < 40 || h.headerSize > b.infoSize)
        return false;
    h.width = qint32(Le32(b.info + 4));
    h.height = qint32(Le32(b.info + 8));
    h.bitCount = Le16(b.info + 14);
    h.compression = Le32(b.info + 16);
    h.clrUsed = Le32(b.info + 32);
    const bool fields = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    if (fields) {
        // A plain header keeps the masks right after it; the larger headers hold them inside.
        const quint32 at = 40;
        const quint32 count = h.compression == BI_ALPHABITFIELDS || h.headerSize >= 56 ? 4 : 3;
        if (at + 4 * count > b.infoSize)
            return false;
        for (quint32 i = 0; i < count; ++i)
            h.masks[i] = Le32(b.info + at + 4 * i);
        h.hasMasks = true;
    }
    return true;
}

// Colour table: RGBQUAD (RGBTRIPLE for the old core header) or palette indexes.
QList<QRgb> ColourTable(const DibBytes &b, const Header &h, const QList<QRgb> &palette)
{
    if (h.bitCount > 8)
        return {};
    const quint32 full = 1u << h.bitCount;
    quint32 count = h.clrUsed && h.clrUsed < full ? h.clrUsed : full;
    quint32 start = h.headerSize;
    if (!h.core && h.headerSize == 40 && h.compression == BI_BITFIELDS)
        start += 12;
    QList<QRgb> table(full, qRgb(0, 0, 0));
    if (b.usage == DIB_PAL_COLORS) {
        for (quint32 i = 0; i < count && start + 2 * i + 2 <= b.infoSize; ++i) {
            const quint16 index = Le16(b.info + start + 2 * i);
            table[i] = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
        }
        return table;
    }
    const quint32 entry = h.core ? 3 : 4;
    for (quint32 i = 0; i < count && quint64(start) + entry * (i + 1) <= b.infoSize; ++i) {
        const uchar *p = b.info + start + entry * i;
        table[i] = qRgb(p[2], p[1], p[0]);
    }
    return table;
}

int Shift(quint32 mask)
{
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

// Scales the bits a mask selects to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;
    explicit Channel(quint32 m = 0) : mask(m), shift(Shift(m)), max(m ? m >> Shift(m) : 0) {}
    int Of(quint32 v) const { return max ? int((quint64((v & mask) >> shift) * 255 + max / 2) / max) : 0; }
};

void DecodeRle(const DibBytes &b, const Header &h, const QList<QRgb> &table, QImage &img)
{
    const int w = img.width(), hgt = img.height();
    img.fill(Qt::transparent);
    const bool four = h.compression == BI_RLE4;
    const uchar *p = b.bits, *end = b.bits + b.bitsSize;
    int x = 0, y = 0; // y counts from the bottom row
    auto put = [&](int index) {
        if (x < w && y < hgt)
            reinterpret_cast<QRgb *>(img.scanLine(hgt - 1 - y))[x] = table.value(index, qRgb(0, 0, 0)) | 0xFF000000;
        ++x;
    };
    while (end - p >= 2 && y < hgt) {
        const int count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < w; ++i)
                put(four ? (i & 1 ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (end - p < 2)
                break;
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            const int bytes = four ? (value + 1) / 2 : value;
            const int padded = (bytes + 1) & ~1;
            if (end - p < bytes)
                break;
            for (int i = 0; i < value; ++i)
                put(four ? (i & 1 ? p[i / 2] & 0xF : p[i / 2] >> 4) : p[i]);
            p += std::min<qint64>(padded, end - p);
        }
    }
}

bool DecodePlain(const DibBytes &b, const Header &h, const QList<QRgb> &table, bool keepAlpha, QImage &img)
{
    const int w = img.width(), hgt = img.height();
    const qint64 stride = ((qint64(w) * h.bitCount + 31) / 32) * 4;
    const bool topDown = h.height < 0;
    Channel r, g, bl, a;
    if (h.bitCount == 16 || h.bitCount == 32) {
        if (h.hasMasks) {
            r = Channel(h.masks[0]);
            g = Channel(h.masks[1]);
            bl = Channel(h.masks[2]);
            a = Channel(h.masks[3]);
        } else if (h.bitCount == 16) {
            r = Channel(0x7C00);
            g = Channel(0x03E0);
            bl = Channel(0x001F);
        } else {
            r = Channel(0x00FF0000);
            g = Channel(0x0000FF00);
            bl = Channel(0x000000FF);
            a = Channel(0xFF000000);
        }
    }
    for (int row = 0; row < hgt; ++row) {
        QRgb *out = reinterpret_cast<QRgb *>(img.scanLine(topDown ? row : hgt - 1 - row));
        const qint64 at = stride * row;
        if (at + stride > b.bitsSize) {
            // A short bits block: the rows it lacks stay white, as a partly sent band would.
            std::fill(out, out + w, qRgb(255, 255, 255));
            continue;
        }
        const uchar *p = b.bits + at;
        switch (h.bitCount) {
        case 1:
            for (int x = 0; x < w; ++x)
                out[x] = table[(p[x >> 3] >> (7 - (x & 7))) & 1] | 0xFF000000;
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                out[x] = table[x & 1 ? p[x >> 1] & 0xF : p[x >> 1] >> 4] | 0xFF000000;
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                out[x] = table[p[x]] | 0xFF000000;
            break;
        case 16:
            for (int x = 0; x < w; ++x) {
                const quint32 v = Le16(p + 2 * x);
                out[x] = qRgb(r.Of(v), g.Of(v), bl.Of(v));
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x)
                out[x] = qRgb(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
            break;
        case 32:
            for (int x = 0; x < w; ++x) {
                const quint32 v = Le32(p + 4 * x);
                if (keepAlpha) {
                    // Premultiplied: a colour above its alpha is clamped to keep the pixel valid.
                    const int al = a.max ? a.Of(v) : 255;
                    out[x] = qRgba(std::min(r.Of(v), al), std::min(g.Of(v), al), std::min(bl.Of(v), al), al);
                } else {
                    out[x] = qRgb(r.Of(v), g.Of(v), bl.Of(v));
                }
            }
            break;
        default:
            return false;
        }
    }
    return true;
}

QImage DecodeEmbedded(const DibBytes &b, const char *format)
{
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(b.bits), b.bitsSize);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxDibPixels)
        return {};
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Dib DecodeDib(const DibBytes &b, const QList<QRgb> &palette, bool keepAlpha, qint32 rows)
{
    Header h;
    if (!ReadHeader(b, h) || !b.bits)
        return {};
    if (h.compression == BI_JPEG || h.compression == BI_PNG) {
        Dib dib;
        dib.image = DecodeEmbedded(b, h.compression == BI_PNG ? "png" : "jpeg");
        dib.bitCount = 24;
        return dib;
    }
    if (rows != 0)
        h.height = h.height < 0 ? -qint64(std::abs(qint64(rows))) : std::abs(qint64(rows));
    const qint64 w = h.width, hgt = std::abs(h.height);
    if (w <= 0 || hgt <= 0 || w * hgt > kMaxDibPixels)
        return {};
    const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (rle && h.bitCount != (h.compression == BI_RLE8 ? 8 : 4))
        return {};
    if (!rle && h.compression != BI_RGB && !h.hasMasks)
        return {};
    if (h.hasMasks && h.bitCount != 16 && h.bitCount != 32)
        return {};
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return {};
    }
    Dib dib;
    dib.bitCount = h.bitCount;
    dib.topDown = h.height < 0;
    const QList<QRgb> table = ColourTable(b, h, palette);
    const bool alpha = keepAlpha && h.bitCount == 32;
    dib.image = QImage(int(w), int(hgt), alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_ARGB32);
    if (dib.image.isNull())
        return {};
    if (rle)
        DecodeRle(b, h, table, dib.image);
    else if (!DecodePlain(b, h, table, alpha, dib.image))
        return {};
    return dib;
}

const Dib *DibCache::Find(const Key &key) const
{
    for (const auto &[k, dib] : entries_)
        if (k == key)
            return &dib;
    return nullptr;
}

void DibCache::Add(const Key &key, const Dib &dib)
{
    const qint64 bytes = dib.image.sizeInBytes();
    if (dib.image.isNull() || bytes_ + bytes > kMaxBytes)
        return;
    bytes_ += bytes;
    entries_.emplace_back(key, dib);
}

} // namespace platform::emf
