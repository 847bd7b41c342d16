#pragma once
// Test-side writer of small enhanced metafiles: records are appended one by one and Finish()
// gives the bytes of a whole file. The reference device has 4 pixels a millimetre, so a
// picture of W x H pixels has a frame of W*25 x H*25 hundredths of a millimetre and plays 1:1
// into a W x H image.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTransform>

namespace testing_emf {

// A DIB as records carry it: the BITMAPINFO block and the bits.
struct DibData {
    QByteArray info;
    QByteArray bits;
};

// Builds a BITMAPINFOHEADER DIB. `rows` are the pixel rows top first, already packed for the
// bit count (each padded to 4 bytes by this function); `colours` is the colour table.
// `topDown` stores them top first with a negative height; compression 1/2 takes `rows` as
// one block of RLE data. `masks` (three or four) make it a BI_BITFIELDS bitmap.
DibData MakeDib(int width, int height, int bitCount, const QList<QRgb> &colours, const QList<QByteArray> &rows,
                bool topDown = false, quint32 compression = 0, const QList<quint32> &masks = {});

class EmfWriter {
public:
    explicit EmfWriter(int width = 100, int height = 100);

    // A record of any type with the payload after the type and size (padded to 4 bytes).
    void Raw(quint32 type, const QByteArray &payload);
    // Bytes appended as they are: for broken records.
    void Bytes(const QByteArray &bytes);

    void SetMapMode(int mode);
    void SetWindowOrg(int x, int y);
    void SetWindowExt(int cx, int cy);
    void SetViewportOrg(int x, int y);
    void SetViewportExt(int cx, int cy);
    void SetWorldTransform(const QTransform &t);
    void ModifyWorldTransform(const QTransform &t, int mode);
    void SaveDC();
    void RestoreDC(int which);

    void CreatePen(quint32 index, quint32 style, int width, QColor color);
    void ExtCreatePen(quint32 index, quint32 style, int width, QColor color, const QList<quint32> &dashes = {});
    void CreateBrush(quint32 index, quint32 style, QColor color, quint32 hatch = 0);
    void CreateDibPatternBrush(quint32 index, const DibData &dib, bool mono = false);
    void CreateFont(quint32 index, int height, const QString &face, int width = 0, int escapement = 0,
                    int weight = 400);
    void SelectObject(quint32 index);
    void DeleteObject(quint32 index);

    void SetTextColor(QColor c);
    void SetBkColor(QColor c);
    void SetBkMode(int mode);
    void SetTextAlign(quint32 align);
    void SetPolyFillMode(int mode);
    void SetRop2(int rop);

    void IntersectClipRect(int l, int t, int r, int b);
    void ExcludeClipRect(int l, int t, int r, int b);
    void ExtSelectClipRgn(const QList<QRect> &rects, int mode);
    void SelectClipPath(int mode);

    void BeginPath();
    void EndPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void WidenPath();
    void FlattenPath();

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // type: 2 bezier, 3 polygon, 4 polyline, 5 bezier-to, 6 polyline-to; `small` for the 16-bit forms
    void Poly(quint32 type, const QList<QPoint> &points, bool small);
    void PolyPolygon(const QList<QList<QPoint>> &polys, bool small);
    void PolyPolyline(const QList<QList<QPoint>> &polys, bool small);
    void Rectangle(int l, int t, int r, int b);
    void Ellipse(int l, int t, int r, int b);
    void RoundRect(int l, int t, int r, int b, int cx, int cy);
    // type: 45 arc, 46 chord, 47 pie
    void ArcFamily(quint32 type, QRect box, QPoint start, QPoint end);

    void ExtTextOutW(int x, int y, const QString &text, quint32 options = 0, QRect rect = {},
                     const QList<int> &dx = {});
    void ExtTextOutA(int x, int y, const QByteArray &text, quint32 options = 0, const QList<int> &dx = {});

    void StretchDIBits(QRect dest, QRect source, const DibData &dib, quint32 rop = 0x00CC0020);
    void SetDIBitsToDevice(QPoint dest, QRect source, const DibData &dib, quint32 startScan, quint32 scans);
    // type 76 bitblt or 77 stretchblt; an empty dib means no source bitmap
    void Blt(quint32 type, QRect dest, QRect source, const DibData &dib, quint32 rop);
    void AlphaBlend(QRect dest, QRect source, const DibData &dib, int constantAlpha, bool perPixel);
    void Comment(const QByteArray &data);

    QByteArray Finish();

private:
    QByteArray body_;
    int records_ = 1;
    int handles_ = 1;
    int width_, height_;
};

} // namespace testing_emf

namespace testing_emf {

// Plays `emf` into a white image of `size` pixels, the frame stretched over the whole image.
QImage Render(const QByteArray &emf, QSize size = QSize(100, 100));

// True when `pixel` is within `tolerance` of `expected` in each channel.
bool Near(QRgb pixel, QColor expected, int tolerance = 40);

} // namespace testing_emf
