#include "tests/support/EmfWriter.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace testing_emf {
namespace {

void Put32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}
void Put16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
void PutF(QByteArray &b, float f)
{
    quint32 v;
    std::memcpy(&v, &f, 4);
    Put32(b, v);
}
quint32 Ref(QColor c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}
void PutRect(QByteArray &b, int l, int t, int r, int bottom)
{
    Put32(b, l);
    Put32(b, t);
    Put32(b, r);
    Put32(b, bottom);
}
void PutXform(QByteArray &b, const QTransform &t)
{
    PutF(b, float(t.m11()));
    PutF(b, float(t.m12()));
    PutF(b, float(t.m21()));
    PutF(b, float(t.m22()));
    PutF(b, float(t.dx()));
    PutF(b, float(t.dy()));
}

} // namespace

DibData MakeDib(int width, int height, int bitCount, const QList<QRgb> &colours, const QList<QByteArray> &rows,
                bool topDown, quint32 compression, const QList<quint32> &masks)
{
    DibData d;
    const bool fields = !masks.isEmpty();
    Put32(d.info, 40);
    Put32(d.info, width);
    Put32(d.info, topDown ? -height : height);
    Put16(d.info, 1);
    Put16(d.info, bitCount);
    Put32(d.info, fields ? (masks.size() == 4 ? 6 : 3) : compression);
    Put32(d.info, 0);
    Put32(d.info, 3780);
    Put32(d.info, 3780);
    Put32(d.info, colours.size());
    Put32(d.info, 0);
    for (quint32 m : masks)
        Put32(d.info, m);
    for (QRgb c : colours) {
        d.info.append(char(qBlue(c)));
        d.info.append(char(qGreen(c)));
        d.info.append(char(qRed(c)));
        d.info.append(char(0));
    }
    if (compression == 1 || compression == 2) {
        for (const QByteArray &r : rows)
            d.bits += r;
        return d;
    }
    const int stride = ((width * bitCount + 31) / 32) * 4;
    QList<QByteArray> stored = rows;
    if (!topDown)
        std::reverse(stored.begin(), stored.end());
    for (QByteArray r : stored) {
        r.resize(stride, '\0');
        d.bits += r;
    }
    return d;
}

EmfWriter::EmfWriter(int width, int height) : width_(width), height_(height) {}

void EmfWriter::Raw(quint32 type, const QByteArray &payload)
{
    QByteArray p = payload;
    while (p.size() % 4)
        p.append('\0');
    Put32(body_, type);
    Put32(body_, 8 + p.size());
    body_ += p;
    ++records_;
}

void EmfWriter::Bytes(const QByteArray &bytes)
{
    body_ += bytes;
}

static QByteArray Ints(std::initializer_list<qint64> values)
{
    QByteArray b;
    for (qint64 v : values)
        Put32(b, quint32(v));
    return b;
}

void EmfWriter::SetMapMode(int mode)
{
    Raw(17, Ints({mode}));
}
void EmfWriter::SetWindowOrg(int x, int y)
{
    Raw(10, Ints({x, y}));
}
void EmfWriter::SetWindowExt(int cx, int cy)
{
    Raw(9, Ints({cx, cy}));
}
void EmfWriter::SetViewportOrg(int x, int y)
{
    Raw(12, Ints({x, y}));
}
void EmfWriter::SetViewportExt(int cx, int cy)
{
    Raw(11, Ints({cx, cy}));
}
void EmfWriter::SetWorldTransform(const QTransform &t)
{
    QByteArray b;
    PutXform(b, t);
    Raw(35, b);
}
void EmfWriter::ModifyWorldTransform(const QTransform &t, int mode)
{
    QByteArray b;
    PutXform(b, t);
    Put32(b, mode);
    Raw(36, b);
}
void EmfWriter::SaveDC()
{
    Raw(33, {});
}
void EmfWriter::RestoreDC(int which)
{
    Raw(34, Ints({which}));
}

void EmfWriter::CreatePen(quint32 index, quint32 style, int width, QColor color)
{
    handles_ = std::max<int>(handles_, index + 1);
    Raw(38, Ints({index, style, width, 0, Ref(color)}));
}

void EmfWriter::ExtCreatePen(quint32 index, quint32 style, int width, QColor color, const QList<quint32> &dashes)
{
    handles_ = std::max<int>(handles_, index + 1);
    QByteArray b = Ints({index, 0, 0, 0, 0, style, width, 0, Ref(color), 0, dashes.size()});
    for (quint32 d : dashes)
        Put32(b, d);
    Raw(95, b);
}

void EmfWriter::CreateBrush(quint32 index, quint32 style, QColor color, quint32 hatch)
{
    handles_ = std::max<int>(handles_, index + 1);
    Raw(39, Ints({index, style, Ref(color), hatch}));
}

void EmfWriter::CreateDibPatternBrush(quint32 index, const DibData &dib, bool mono)
{
    handles_ = std::max<int>(handles_, index + 1);
    const quint32 offBmi = 32, offBits = offBmi + dib.info.size();
    QByteArray b = Ints({index, 0, offBmi, dib.info.size(), offBits, dib.bits.size()});
    b += dib.info;
    b += dib.bits;
    Raw(mono ? 93 : 94, b);
}

void EmfWriter::CreateFont(quint32 index, int height, const QString &face, int width, int escapement, int weight)
{
    handles_ = std::max<int>(handles_, index + 1);
    QByteArray b = Ints({index, height, width, escapement, escapement, weight});
    b.append(QByteArray(8, '\0')); // italic, underline, strike-out, charset, precision, clip, quality, pitch
    QString name = face.left(31);
    for (QChar c : name)
        Put16(b, c.unicode());
    b.append(QByteArray(64 - 2 * name.size(), '\0'));
    Raw(82, b);
}

void EmfWriter::SelectObject(quint32 index)
{
    Raw(37, Ints({index}));
}
void EmfWriter::DeleteObject(quint32 index)
{
    Raw(40, Ints({index}));
}
void EmfWriter::SetTextColor(QColor c)
{
    Raw(24, Ints({Ref(c)}));
}
void EmfWriter::SetBkColor(QColor c)
{
    Raw(25, Ints({Ref(c)}));
}
void EmfWriter::SetBkMode(int mode)
{
    Raw(18, Ints({mode}));
}
void EmfWriter::SetTextAlign(quint32 align)
{
    Raw(22, Ints({align}));
}
void EmfWriter::SetPolyFillMode(int mode)
{
    Raw(19, Ints({mode}));
}
void EmfWriter::SetRop2(int rop)
{
    Raw(20, Ints({rop}));
}
void EmfWriter::IntersectClipRect(int l, int t, int r, int b)
{
    Raw(30, Ints({l, t, r, b}));
}
void EmfWriter::ExcludeClipRect(int l, int t, int r, int b)
{
    Raw(29, Ints({l, t, r, b}));
}

void EmfWriter::ExtSelectClipRgn(const QList<QRect> &rects, int mode)
{
    QByteArray region;
    Put32(region, 32);
    Put32(region, 1);
    Put32(region, rects.size());
    Put32(region, rects.size() * 16);
    PutRect(region, 0, 0, 0, 0);
    for (const QRect &r : rects)
        PutRect(region, r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    QByteArray b = Ints({rects.isEmpty() ? 0 : region.size(), mode});
    if (!rects.isEmpty())
        b += region;
    Raw(75, b);
}

void EmfWriter::SelectClipPath(int mode)
{
    Raw(67, Ints({mode}));
}
void EmfWriter::BeginPath()
{
    Raw(59, {});
}
void EmfWriter::EndPath()
{
    Raw(60, {});
}
void EmfWriter::CloseFigure()
{
    Raw(61, {});
}
void EmfWriter::FillPath()
{
    Raw(62, Ints({0, 0, 0, 0}));
}
void EmfWriter::StrokeAndFillPath()
{
    Raw(63, Ints({0, 0, 0, 0}));
}
void EmfWriter::StrokePath()
{
    Raw(64, Ints({0, 0, 0, 0}));
}
void EmfWriter::FlattenPath()
{
    Raw(65, {});
}
void EmfWriter::WidenPath()
{
    Raw(66, {});
}
void EmfWriter::MoveTo(int x, int y)
{
    Raw(27, Ints({x, y}));
}
void EmfWriter::LineTo(int x, int y)
{
    Raw(54, Ints({x, y}));
}

void EmfWriter::Poly(quint32 type, const QList<QPoint> &points, bool small)
{
    QByteArray b = Ints({0, 0, 0, 0, points.size()});
    for (const QPoint &p : points) {
        if (small) {
            Put16(b, quint16(p.x()));
            Put16(b, quint16(p.y()));
        } else {
            Put32(b, p.x());
            Put32(b, p.y());
        }
    }
    Raw(small ? type + 83 : type, b);
}

static QByteArray PolyPolyPayload(const QList<QList<QPoint>> &polys, bool small)
{
    qsizetype total = 0;
    for (const auto &p : polys)
        total += p.size();
    QByteArray b = Ints({0, 0, 0, 0, polys.size(), total});
    for (const auto &p : polys)
        Put32(b, p.size());
    for (const auto &poly : polys)
        for (const QPoint &p : poly) {
            if (small) {
                Put16(b, quint16(p.x()));
                Put16(b, quint16(p.y()));
            } else {
                Put32(b, p.x());
                Put32(b, p.y());
            }
        }
    return b;
}

void EmfWriter::PolyPolygon(const QList<QList<QPoint>> &polys, bool small)
{
    Raw(small ? 91 : 8, PolyPolyPayload(polys, small));
}
void EmfWriter::PolyPolyline(const QList<QList<QPoint>> &polys, bool small)
{
    Raw(small ? 90 : 7, PolyPolyPayload(polys, small));
}

void EmfWriter::Rectangle(int l, int t, int r, int b)
{
    Raw(43, Ints({l, t, r, b}));
}
void EmfWriter::Ellipse(int l, int t, int r, int b)
{
    Raw(42, Ints({l, t, r, b}));
}
void EmfWriter::RoundRect(int l, int t, int r, int b, int cx, int cy)
{
    Raw(44, Ints({l, t, r, b, cx, cy}));
}
void EmfWriter::ArcFamily(quint32 type, QRect box, QPoint start, QPoint end)
{
    Raw(type, Ints({box.left(), box.top(), box.left() + box.width(), box.top() + box.height(), start.x(), start.y(),
                    end.x(), end.y()}));
}

void EmfWriter::ExtTextOutW(int x, int y, const QString &text, quint32 options, QRect rect, const QList<int> &dx)
{
    // header 8 + bounds 16 + mode, scales 12 + EMRTEXT 40 = 76 bytes before the string
    const quint32 offString = 76;
    const quint32 stringBytes = ((text.size() * 2 + 3) / 4) * 4;
    const quint32 offDx = dx.isEmpty() ? 0 : offString + stringBytes;
    QByteArray b = Ints({0, 0, 0, 0, 1});
    PutF(b, 1);
    PutF(b, 1);
    b += Ints({x, y, text.size(), offString, options, rect.left(), rect.top(), rect.left() + rect.width(),
               rect.top() + rect.height(), offDx});
    for (QChar c : text)
        Put16(b, c.unicode());
    while (b.size() % 4)
        b.append('\0');
    for (int d : dx)
        Put32(b, d);
    Raw(84, b);
}

void EmfWriter::ExtTextOutA(int x, int y, const QByteArray &text, quint32 options, const QList<int> &dx)
{
    const quint32 offString = 76;
    const quint32 stringBytes = ((text.size() + 3) / 4) * 4;
    const quint32 offDx = dx.isEmpty() ? 0 : offString + stringBytes;
    QByteArray b = Ints({0, 0, 0, 0, 1});
    PutF(b, 1);
    PutF(b, 1);
    b += Ints({x, y, text.size(), offString, options, 0, 0, 0, 0, offDx});
    b += text;
    while (b.size() % 4)
        b.append('\0');
    for (int d : dx)
        Put32(b, d);
    Raw(83, b);
}

void EmfWriter::StretchDIBits(QRect dest, QRect source, const DibData &dib, quint32 rop)
{
    const quint32 offBmi = 80, offBits = offBmi + dib.info.size();
    QByteArray b = Ints({0, 0, 0, 0, dest.x(), dest.y(), source.x(), source.y(), source.width(), source.height(),
                         offBmi, dib.info.size(), offBits, dib.bits.size(), 0, rop, dest.width(), dest.height()});
    b += dib.info;
    b += dib.bits;
    Raw(81, b);
}

void EmfWriter::SetDIBitsToDevice(QPoint dest, QRect source, const DibData &dib, quint32 startScan, quint32 scans)
{
    const quint32 offBmi = 76, offBits = offBmi + dib.info.size();
    QByteArray b = Ints({0, 0, 0, 0, dest.x(), dest.y(), source.x(), source.y(), source.width(), source.height(),
                         offBmi, dib.info.size(), offBits, dib.bits.size(), 0, startScan, scans});
    b += dib.info;
    b += dib.bits;
    Raw(80, b);
}

void EmfWriter::Blt(quint32 type, QRect dest, QRect source, const DibData &dib, quint32 rop)
{
    const quint32 fixed = type == 77 ? 108 : 100;
    const bool none = dib.info.isEmpty();
    const quint32 offBmi = none ? 0 : fixed, offBits = none ? 0 : fixed + dib.info.size();
    QByteArray b = Ints({0, 0, 0, 0, dest.x(), dest.y(), dest.width(), dest.height(), rop, source.x(), source.y()});
    PutXform(b, QTransform());
    b += Ints({0xFFFFFF, 0, offBmi, dib.info.size(), offBits, dib.bits.size()});
    if (type == 77)
        b += Ints({source.width(), source.height()});
    b += dib.info;
    b += dib.bits;
    Raw(type, b);
}

void EmfWriter::AlphaBlend(QRect dest, QRect source, const DibData &dib, int constantAlpha, bool perPixel)
{
    const quint32 offBmi = 108, offBits = offBmi + dib.info.size();
    const quint32 blend = quint32(constantAlpha) << 16 | (perPixel ? 1u << 24 : 0);
    QByteArray b = Ints({0, 0, 0, 0, dest.x(), dest.y(), dest.width(), dest.height(), blend, source.x(), source.y()});
    PutXform(b, QTransform());
    b += Ints({0, 0, offBmi, dib.info.size(), offBits, dib.bits.size(), source.width(), source.height()});
    b += dib.info;
    b += dib.bits;
    Raw(114, b);
}

void EmfWriter::Comment(const QByteArray &data)
{
    QByteArray b = Ints({data.size()});
    b += data;
    Raw(70, b);
}

QByteArray EmfWriter::Finish()
{
    QByteArray eof = Ints({14, 20, 0, 16, 20});
    QByteArray head;
    Put32(head, 1);
    Put32(head, 108);
    PutRect(head, 0, 0, width_ - 1, height_ - 1);
    PutRect(head, 0, 0, width_ * 25, height_ * 25);
    Put32(head, 0x464D4520);
    Put32(head, 0x10000);
    Put32(head, 108 + body_.size() + eof.size());
    Put32(head, records_ + 1);
    Put16(head, handles_);
    Put16(head, 0);
    head += Ints({0, 0, 0, 1000, 1000, 250, 250, 0, 0, 0, 250000, 250000});
    return head + body_ + eof;
}

} // namespace testing_emf

#include "platform/emf/EmfPicture.h"

#include <QPainter>

namespace testing_emf {

QImage Render(const QByteArray &emf, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    platform::TEmfPicture picture(emf);
    QPainter painter(&image);
    picture.Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

bool Near(QRgb pixel, QColor expected, int tolerance)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance &&
           std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
           std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

} // namespace testing_emf
