#pragma once
// A bounds-checked view of one EMF record: every read is checked against the record's own bytes.
#include <QPoint>
#include <QRect>
#include <QTransform>
#include <cstdint>
#include <cstring>
#include <optional>

namespace platform::emf {

// One record of an enhanced metafile: its type and the bytes it covers, header included.
class Record {
public:
    Record(const uchar *data, quint32 size) : data_(data), size_(size) {}

    quint32 Type() const { return U32(0).value_or(0); }
    quint32 Size() const { return size_; }
    const uchar *Data() const { return data_; }

    // True when [offset, offset + length) lies inside the record.
    bool Has(quint64 offset, quint64 length) const { return offset <= size_ && length <= size_ - offset; }

    std::optional<quint32> U32(quint64 offset) const
    {
        if (!Has(offset, 4))
            return std::nullopt;
        return quint32(data_[offset]) | quint32(data_[offset + 1]) << 8 | quint32(data_[offset + 2]) << 16 |
               quint32(data_[offset + 3]) << 24;
    }
    std::optional<qint32> I32(quint64 offset) const
    {
        auto v = U32(offset);
        return v ? std::optional<qint32>(qint32(*v)) : std::nullopt;
    }
    std::optional<quint16> U16(quint64 offset) const
    {
        if (!Has(offset, 2))
            return std::nullopt;
        return quint16(data_[offset] | data_[offset + 1] << 8);
    }
    std::optional<qint16> I16(quint64 offset) const
    {
        auto v = U16(offset);
        return v ? std::optional<qint16>(qint16(*v)) : std::nullopt;
    }
    std::optional<quint8> U8(quint64 offset) const
    {
        if (!Has(offset, 1))
            return std::nullopt;
        return data_[offset];
    }
    std::optional<float> F32(quint64 offset) const
    {
        auto v = U32(offset);
        if (!v)
            return std::nullopt;
        float f;
        std::memcpy(&f, &*v, 4);
        return f;
    }
    std::optional<QPoint> PointL(quint64 offset) const
    {
        auto x = I32(offset), y = I32(offset + 4);
        if (!x || !y)
            return std::nullopt;
        return QPoint(*x, *y);
    }
    // A RECTL as its four edges (left, top, right, bottom), kept exact: QRect would lose a pixel.
    struct Edges {
        qint32 left, top, right, bottom;
    };
    std::optional<Edges> RectL(quint64 offset) const
    {
        auto l = I32(offset), t = I32(offset + 4), r = I32(offset + 8), b = I32(offset + 12);
        if (!l || !t || !r || !b)
            return std::nullopt;
        return Edges{*l, *t, *r, *b};
    }
    // An XFORM (six floats); nullopt also when a value is not finite.
    std::optional<QTransform> Xform(quint64 offset) const;

private:
    const uchar *data_;
    quint32 size_;
};

// Walks the records of a metafile's bytes; stops at the first record whose size does not fit.
class RecordReader {
public:
    RecordReader(const uchar *data, quint64 size) : data_(data), size_(size) {}
    // The next record, or nullopt at the end (or when the remaining bytes hold no valid record).
    std::optional<Record> Next();

private:
    const uchar *data_;
    quint64 size_;
    quint64 offset_ = 0;
};

} // namespace platform::emf
