#include "tests/support/EmfBuilder.h"

#include <QtEndian>

namespace wydtest {

namespace {

enum : quint32 {
    EMR_HEADER = 1,
    EMR_EOF = 14,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
};
constexpr quint32 kNullPen = 0x80000008; // stock object NULL_PEN
constexpr int kHeaderSize = 108;         // with both header extensions

void Put(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void PutRecord(QByteArray &out, quint32 type, std::initializer_list<quint32> params)
{
    Put(out, type);
    Put(out, static_cast<quint32>(8 + 4 * params.size()));
    for (quint32 p : params)
        Put(out, p);
}

} // namespace

EmfBuilder::EmfBuilder(int frameLeft, int frameTop, int frameRight, int frameBottom, int widthPx, int heightPx)
    : frame_{frameLeft, frameTop, frameRight, frameBottom}, width_(widthPx), height_(heightPx)
{
    PutRecord(records_, EMR_SELECTOBJECT, {kNullPen});
    ++recordCount_;
}

EmfBuilder &EmfBuilder::Shape(quint32 type, int left, int top, int right, int bottom, quint32 color)
{
    // Each shape's brush takes slot 1 of the handle table and frees it again.
    const quint32 handle = 1;
    handles_ = 2;
    PutRecord(records_, EMR_CREATEBRUSHINDIRECT, {handle, 0 /* BS_SOLID */, color, 0});
    PutRecord(records_, EMR_SELECTOBJECT, {handle});
    PutRecord(records_, type,
              {static_cast<quint32>(left), static_cast<quint32>(top), static_cast<quint32>(right),
               static_cast<quint32>(bottom)});
    PutRecord(records_, EMR_DELETEOBJECT, {handle});
    recordCount_ += 4;
    return *this;
}

EmfBuilder &EmfBuilder::Rectangle(int left, int top, int right, int bottom, quint32 color)
{
    return Shape(EMR_RECTANGLE, left, top, right, bottom, color);
}

EmfBuilder &EmfBuilder::Ellipse(int left, int top, int right, int bottom, quint32 color)
{
    return Shape(EMR_ELLIPSE, left, top, right, bottom, color);
}

QByteArray EmfBuilder::Finish() const
{
    QByteArray tail;
    PutRecord(tail, EMR_EOF, {0, 16, 20});
    const quint32 total = static_cast<quint32>(kHeaderSize + records_.size() + tail.size());
    // Millimetres of the reference device: the picture's pixels at 96 dots per inch.
    const int mmW = width_ * 254 / 960, mmH = height_ * 254 / 960;
    QByteArray out;
    Put(out, EMR_HEADER);
    Put(out, kHeaderSize);
    for (int v : {0, 0, width_ - 1, height_ - 1}) // bounds, device units
        Put(out, static_cast<quint32>(v));
    for (int v : frame_)
        Put(out, static_cast<quint32>(v));
    Put(out, 0x464D4520); // " EMF"
    Put(out, 0x10000);    // version
    Put(out, total);
    Put(out, static_cast<quint32>(recordCount_ + 2));
    Put(out, static_cast<quint32>(handles_)); // nHandles (u16) and the reserved u16
    Put(out, 0);                              // description length
    Put(out, 0);                              // description offset
    Put(out, 0);                              // palette entries
    Put(out, static_cast<quint32>(width_));   // reference device in pixels
    Put(out, static_cast<quint32>(height_));
    Put(out, static_cast<quint32>(std::max(mmW, 1))); // and in millimetres
    Put(out, static_cast<quint32>(std::max(mmH, 1)));
    Put(out, 0);                                             // pixel format size
    Put(out, 0);                                             // pixel format offset
    Put(out, 0);                                             // OpenGL
    Put(out, static_cast<quint32>(std::max(mmW, 1) * 1000)); // micrometres
    Put(out, static_cast<quint32>(std::max(mmH, 1) * 1000));
    return out + records_ + tail;
}

} // namespace wydtest
