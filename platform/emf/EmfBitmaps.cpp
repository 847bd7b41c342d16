#include "platform/emf/EmfPlayer_p.h"

#include <QLinearGradient>
#include <cmath>

namespace platform::emf {
namespace {

quint32 RopIndex(quint32 rop)
{
    return (rop >> 16) & 0xFF;
}
bool UsesSource(quint32 rop)
{
    return ((RopIndex(rop) >> 2) ^ RopIndex(rop)) & 0x33;
}

QImage InvertedImage(const QImage &image)
{
    QImage copy = image.convertToFormat(QImage::Format_ARGB32);
    copy.invertPixels(QImage::InvertRgb);
    return copy;
}

// The source's white pixels become transparent and its black ones take `color`: how the
// mask-through-pattern operations draw a monochrome bitmap with the brush.
QImage Stencil(const QImage &image, const QColor &color, bool keepWhite)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb ink = color.rgb();
    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const bool white = qGray(line[x]) >= 128;
            line[x] = white == keepWhite ? ink : 0;
        }
    }
    return out;
}

} // namespace

Dib Player::ReadDib(const Record &r, quint64 offInfo, quint64 infoSize, quint64 offBits, quint64 bitsSize,
                    quint32 usage, bool keepAlpha, qint32 rows, qint64 maxPixels)
{
    if (infoSize < 12 || !r.Has(offInfo, infoSize) || !r.Has(offBits, bitsSize))
        return {};
    // Charge the work before decoding: the pixel count comes from the header, not from the bits.
    const uchar *info = r.Data() + offInfo;
    const bool core = infoSize >= 4 && info[0] == 12 && !info[1] && !info[2] && !info[3];
    const qint64 w = core ? *r.U16(offInfo + 4) : std::abs(qint64(*r.I32(offInfo + 4)));
    const qint64 h = rows   ? std::abs(qint64(rows))
                     : core ? *r.U16(offInfo + 6)
                            : (infoSize >= 12 ? std::abs(qint64(*r.I32(offInfo + 8))) : 0);
    if (w * h > maxPixels || !Spend(w * h / 4))
        return {};
    // A bitmap with its own colours decodes the same every time; one that indexes the
    // palette depends on the state of play.
    const bool cached = dibs_ && usage != DIB_PAL_COLORS;
    const DibCache::Key key{quint64(info - data_), quint64(r.Data() + offBits - data_), rows, keepAlpha};
    if (cached)
        if (const Dib *dib = dibs_->Find(key))
            return *dib;
    DibBytes bytes;
    bytes.info = info;
    bytes.infoSize = quint32(infoSize);
    bytes.bits = r.Data() + offBits;
    bytes.bitsSize = quint32(bitsSize);
    bytes.usage = usage;
    Dib dib = DecodeDib(bytes, dc_.palette, keepAlpha, rows);
    if (cached)
        dibs_->Add(key, dib);
    return dib;
}

void Player::FillRop(const QRectF &dest, quint32 rop)
{
    const QRectF rect = dest.normalized();
    switch (RopIndex(rop)) {
    case 0x00:
        p_.fillRect(rect, Qt::black);
        break;
    case 0xFF:
        p_.fillRect(rect, Qt::white);
        break;
    case 0xAA:
        break;
    case 0x55:
        if (rasterOps_) {
            p_.setCompositionMode(QPainter::RasterOp_NotDestination);
            p_.fillRect(rect, Qt::black);
        }
        break;
    case 0x5A:
        if (blendModes_) {
            p_.setCompositionMode(QPainter::CompositionMode_Difference);
            p_.fillRect(rect, MakeBrush(dc_.brush));
        }
        break;
    default:
        if (!dc_.brush.IsNull())
            p_.fillRect(rect, MakeBrush(dc_.brush));
        break;
    }
}

void Player::Blit(const QRectF &dest, const QImage &source, const QRectF &sourceRect, quint32 rop)
{
    if (source.isNull() || !UsesSource(rop)) {
        FillRop(dest, rop);
        return;
    }
    // Mirroring: a negative width or height on one side only flips the picture.
    bool flipX = (dest.width() < 0) != (sourceRect.width() < 0);
    bool flipY = (dest.height() < 0) != (sourceRect.height() < 0);
    QRectF d = dest.normalized(), s = sourceRect.normalized();
    if (s.isEmpty() || d.isEmpty())
        return;
    // A source rectangle reaching past the bitmap draws only the part the bitmap has.
    const QRectF inside = s.intersected(QRectF(source.rect()));
    if (inside.isEmpty())
        return;
    const double fx = d.width() / s.width(), fy = d.height() / s.height();
    QRectF target(d.left() + (flipX ? s.right() - inside.right() : inside.left() - s.left()) * fx,
                  d.top() + (flipY ? s.bottom() - inside.bottom() : inside.top() - s.top()) * fy, inside.width() * fx,
                  inside.height() * fy);
    QImage image = source;
    QRectF from = inside;
    if (flipX || flipY) {
        image = source.copy(inside.toAlignedRect()).mirrored(flipX, flipY);
        from = QRectF(QPointF(0, 0), inside.size());
    }
    switch (RopIndex(rop)) {
    case 0x33:
        image = InvertedImage(image);
        break; // NOTSRCCOPY
    case 0x11:
        image = InvertedImage(image);
        break; // NOTSRCERASE, as the inverse copy
    case 0x88: // SRCAND: the mask half of a transparent pair; without blending it is left out
        if (!blendModes_)
            return;
        p_.setCompositionMode(QPainter::CompositionMode_Multiply);
        break;
    case 0x22: // D and not S
        if (!blendModes_)
            return;
        image = InvertedImage(image);
        p_.setCompositionMode(QPainter::CompositionMode_Multiply);
        break;
    case 0xEE: // SRCPAINT
        if (blendModes_) {
            p_.setCompositionMode(QPainter::CompositionMode_Screen);
        } else {
            // Without blending, black (the neutral colour of OR) is made transparent.
            image = image.convertToFormat(QImage::Format_ARGB32);
            QImage mask = image.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskOutColor);
            image.setAlphaChannel(mask);
        }
        break;
    case 0xBB: // MERGEPAINT: not S or D
        if (!blendModes_)
            return;
        image = InvertedImage(image);
        p_.setCompositionMode(QPainter::CompositionMode_Screen);
        break;
    case 0x66: // SRCINVERT
        if (blendModes_)
            p_.setCompositionMode(QPainter::CompositionMode_Difference);
        break;
    case 0xB8:
        image = Stencil(image, dc_.brush.color, false);
        break; // black bits take the brush
    case 0xE2:
        image = Stencil(image, dc_.brush.color, true);
        break; // white bits take the brush
    default:
        break;
    }
    p_.drawImage(target, image, from);
}

void Player::BitBlt(const Record &r, int type)
{
    auto x = r.I32(24), y = r.I32(28), cx = r.I32(32), cy = r.I32(36), xs = r.I32(44), ys = r.I32(48);
    auto rop = r.U32(40);
    auto xform = r.Xform(52);
    auto usage = r.U32(80), offBmi = r.U32(84), cbBmi = r.U32(88), offBits = r.U32(92), cbBits = r.U32(96);
    if (!x || !y || !cx || !cy || !rop || !xs || !ys || !usage || !offBmi || !cbBmi || !offBits || !cbBits)
        return;
    qint64 cxs = *cx, cys = *cy;
    if (type == EMR_STRETCHBLT || type == EMR_TRANSPARENTBLT) {
        auto a = r.I32(100), b = r.I32(104);
        if (!a || !b)
            return;
        cxs = *a;
        cys = *b;
    }
    if (!BeginCopyDraw())
        return;
    const QRectF dest(*x, *y, *cx, *cy);
    if (*cbBmi == 0) {
        FillRop(dest, *rop); // no source bitmap: the operation paints with the brush
        return;
    }
    const quint32 effectiveRop = type == EMR_TRANSPARENTBLT ? SRCCOPY : type == EMR_MASKBLT ? (*rop & 0xFFFFFF) : *rop;
    Dib dib = ReadDib(r, *offBmi, *cbBmi, *offBits, *cbBits, *usage);
    if (dib.image.isNull())
        return;
    QRectF source(*xs, *ys, double(cxs), double(cys));
    if (xform && !xform->isIdentity())
        source = xform->mapRect(source);
    if (type == EMR_TRANSPARENTBLT) {
        const QColor key = ColorRef(*rop);
        dib.image.setAlphaChannel(dib.image.createMaskFromColor(key.rgb(), Qt::MaskOutColor));
    } else if (type == EMR_MASKBLT && ((*rop >> 24) & 0xFF) == 0xAA) {
        // Where the mask is 0 the background operation leaves the destination: a transparent pixel.
        auto xm = r.I32(100), ym = r.I32(104);
        auto usageMask = r.U32(108), offMask = r.U32(112), cbMask = r.U32(116), offMaskBits = r.U32(120),
             cbMaskBits = r.U32(124);
        if (xm && ym && usageMask && offMask && cbMask && offMaskBits && cbMaskBits && *cbMask) {
            const Dib mask = ReadDib(r, *offMask, *cbMask, *offMaskBits, *cbMaskBits, *usageMask);
            if (!mask.image.isNull()) {
                QImage alpha(dib.image.size(), QImage::Format_Grayscale8);
                alpha.fill(0);
                for (int row = 0; row < alpha.height(); ++row) {
                    const qint64 my = qint64(row) - *ys + *ym;
                    if (my < 0 || my >= mask.height())
                        continue;
                    uchar *out = alpha.scanLine(row);
                    for (int col = 0; col < alpha.width(); ++col) {
                        const qint64 mx = qint64(col) - *xs + *xm;
                        if (mx >= 0 && mx < mask.width())
                            out[col] = qGray(mask.image.pixel(int(mx), int(my))) >= 128 ? 255 : 0;
                    }
                }
                dib.image.setAlphaChannel(alpha);
            }
        }
    }
    Blit(dest, dib.image, source, effectiveRop);
}

void Player::StretchDiBits(const Record &r)
{
    auto x = r.I32(24), y = r.I32(28), xs = r.I32(32), ys = r.I32(36), cxs = r.I32(40), cys = r.I32(44);
    auto offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56), cbBits = r.U32(60), usage = r.U32(64),
         rop = r.U32(68);
    auto cx = r.I32(72), cy = r.I32(76);
    if (!x || !y || !xs || !ys || !cxs || !cys || !offBmi || !cbBmi || !offBits || !cbBits || !usage || !rop || !cx ||
        !cy)
        return;
    if (!BeginCopyDraw())
        return;
    const QRectF dest(*x, *y, *cx, *cy);
    if (!UsesSource(*rop)) {
        FillRop(dest, *rop);
        return;
    }
    const Dib dib = ReadDib(r, *offBmi, *cbBmi, *offBits, *cbBits, *usage);
    if (dib.image.isNull())
        return;
    // The source rectangle of a bottom-up bitmap counts its rows from the bottom.
    const double top = dib.topDown ? *ys : double(dib.height()) - *ys - *cys;
    Blit(dest, dib.image, QRectF(*xs, top, *cxs, *cys), *rop);
}

void Player::SetDiBitsToDevice(const Record &r)
{
    auto x = r.I32(24), y = r.I32(28), xs = r.I32(32), ys = r.I32(36), cxs = r.I32(40), cys = r.I32(44);
    auto offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56), cbBits = r.U32(60), usage = r.U32(64),
         start = r.U32(68), scans = r.U32(72);
    if (!x || !y || !xs || !ys || !cxs || !cys || !offBmi || !cbBmi || !offBits || !cbBits || !usage || !start ||
        !scans || *scans == 0 || *scans > 0x7FFFFFFF || *start > 0x7FFFFFFF)
        return;
    if (!BeginCopyDraw())
        return;
    const Dib band = ReadDib(r, *offBmi, *cbBmi, *offBits, *cbBits, *usage, false, qint32(*scans));
    if (band.image.isNull())
        return;
    if (band.topDown) {
        Blit(QRectF(*x, *y, *cxs, *cys), band.image, QRectF(*xs, *ys, *cxs, *cys), SRCCOPY);
        return;
    }
    // The record carries scan lines [start, start + scans) counted from the bottom; draw the part
    // of the source rectangle they cover.
    const qint64 a = std::max<qint64>(*ys, *start);
    const qint64 b = std::min<qint64>(qint64(*ys) + *cys, qint64(*start) + *scans);
    if (b <= a)
        return;
    const double bandTop = double(qint64(*start) + *scans - b);
    const double destTop = double(*y) + double(qint64(*ys) + *cys - b);
    Blit(QRectF(*x, destTop, *cxs, double(b - a)), band.image, QRectF(*xs, bandTop, *cxs, double(b - a)), SRCCOPY);
}

void Player::AlphaBlend(const Record &r)
{
    auto x = r.I32(24), y = r.I32(28), cx = r.I32(32), cy = r.I32(36), xs = r.I32(44), ys = r.I32(48);
    auto constant = r.U8(42), format = r.U8(43);
    auto usage = r.U32(80), offBmi = r.U32(84), cbBmi = r.U32(88), offBits = r.U32(92), cbBits = r.U32(96);
    auto cxs = r.I32(100), cys = r.I32(104);
    if (!x || !y || !cx || !cy || !xs || !ys || !constant || !format || !usage || !offBmi || !cbBmi || !offBits ||
        !cbBits || !cxs || !cys)
        return;
    const bool perPixel = *format & 1; // AC_SRC_ALPHA
    Dib dib = ReadDib(r, *offBmi, *cbBmi, *offBits, *cbBits, *usage, perPixel);
    if (dib.image.isNull())
        return;
    if (perPixel && dib.image.format() == QImage::Format_ARGB32_Premultiplied) {
        // Writers that never fill the alpha bytes leave them all 0: such a bitmap is opaque.
        bool anyAlpha = false;
        for (int row = 0; row < dib.height() && !anyAlpha; ++row) {
            const QRgb *line = reinterpret_cast<const QRgb *>(dib.image.constScanLine(row));
            for (int col = 0; col < dib.width(); ++col)
                if (qAlpha(line[col])) {
                    anyAlpha = true;
                    break;
                }
        }
        if (!anyAlpha)
            dib = ReadDib(r, *offBmi, *cbBmi, *offBits, *cbBits, *usage, false);
    }
    if (!BeginCopyDraw())
        return;
    p_.setOpacity(*constant / 255.0);
    Blit(QRectF(*x, *y, *cx, *cy), dib.image, QRectF(*xs, *ys, *cxs, *cys), SRCCOPY);
    p_.setOpacity(1);
}

void Player::GradientFill(const Record &r)
{
    auto nVer = r.U32(24), nTri = r.U32(28), mode = r.U32(32);
    if (!nVer || !nTri || !mode || *nVer > r.Size() / 16 || !r.Has(36, quint64(*nVer) * 16))
        return;
    const quint64 indexAt = 36 + quint64(*nVer) * 16;
    const quint64 each = *mode == 2 ? 12 : 8;
    if (*nTri > r.Size() / each || !r.Has(indexAt, quint64(*nTri) * each) || !Spend(*nTri + *nVer) || !BeginDraw())
        return;
    struct Vertex {
        QPointF point;
        QColor color;
    };
    auto vertex = [&](quint32 i) {
        const quint64 at = 36 + quint64(i) * 16;
        return Vertex{QPointF(*r.I32(at), *r.I32(at + 4)),
                      QColor(*r.U16(at + 8) >> 8, *r.U16(at + 10) >> 8, *r.U16(at + 12) >> 8)};
    };
    p_.setPen(Qt::NoPen);
    for (quint32 i = 0; i < *nTri; ++i) {
        const quint64 at = indexAt + i * each;
        const quint32 a = *r.U32(at), b = *r.U32(at + 4);
        if (a >= *nVer || b >= *nVer)
            continue;
        const Vertex va = vertex(a), vb = vertex(b);
        if (*mode == 2) {
            const quint32 c = *r.U32(at + 8);
            if (c >= *nVer)
                continue;
            // Qt has no Gouraud-shaded triangles: the triangle takes the mean of its corners.
            const Vertex vc = vertex(c);
            const QColor mean((va.color.red() + vb.color.red() + vc.color.red()) / 3,
                              (va.color.green() + vb.color.green() + vc.color.green()) / 3,
                              (va.color.blue() + vb.color.blue() + vc.color.blue()) / 3);
            p_.setBrush(mean);
            p_.drawPolygon(QPolygonF({va.point, vb.point, vc.point}));
        } else if (*mode <= 1) {
            const QRectF rect = QRectF(va.point, vb.point).normalized();
            QLinearGradient gradient(va.point, *mode == 0 ? QPointF(vb.point.x(), va.point.y())
                                                          : QPointF(va.point.x(), vb.point.y()));
            gradient.setColorAt(0, va.color);
            gradient.setColorAt(1, vb.color);
            p_.fillRect(rect, gradient);
        }
    }
}

} // namespace platform::emf
