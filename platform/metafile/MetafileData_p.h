#pragma once
// Storage of a page picture: a byte stream of records and the objects they refer to. Internal to
// PageMetafile.
#include "platform/text/GdiFont.h"

#include <QBrush>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QSharedData>
#include <QSize>

#include <cstring>
#include <memory>

namespace platform {

// Each record is [varint type][varint payload bytes][payload]: a page holds hundreds of short text
// records, so the header takes two bytes where it can. Varints are little-endian base 128, at most five
// bytes. Payloads are plain numbers; pens, brushes, paths, images and fonts that do not fit in numbers
// live in the tables and are referred to by index.
struct MetafileData : QSharedData {
    QSize size;
    QByteArray stream;
    int records = 0;
    QList<std::shared_ptr<const FontFace>> faces;
    QList<QPainterPath> paths;
    QList<QImage> images;
    QList<QPen> pens;
    QList<QBrush> brushes;
    // Recordings this page shares with other pages, referred to by RecShared records.
    QList<std::shared_ptr<const MetafileData>> shared;
};

constexpr qsizetype VarintBytes(quint32 value)
{
    qsizetype n = 1;
    for (; value >= 0x80; value >>= 7)
        ++n;
    return n;
}

// Appends one record's payload to the stream.
class RecordWriter {
public:
    RecordWriter(MetafileData &data, int type, qsizetype payloadBytes) : data_(data)
    {
        const qsizetype at = data_.stream.size();
        const quint32 t = quint32(type);
        const quint32 n = quint32(payloadBytes);
        data_.stream.resize(at + VarintBytes(t) + VarintBytes(n) + payloadBytes);
        p_ = data_.stream.data() + at;
        PutVarint(t);
        PutVarint(n);
        ++data_.records;
    }
    void PutVarint(quint32 value)
    {
        for (; value >= 0x80; value >>= 7)
            *p_++ = char(quint8(value) | 0x80);
        *p_++ = char(value);
    }
    template <typename T> void Put(T value)
    {
        std::memcpy(p_, &value, sizeof(T));
        p_ += sizeof(T);
    }
    // Characters below 0x100, a byte each.
    void PutNarrow(const char16_t *src, qsizetype n)
    {
        char *out = p_;
        for (qsizetype i = 0; i < n; ++i)
            out[i] = char(src[i]);
        p_ = out + n;
    }
    void PutBytes(const void *src, qsizetype n)
    {
        std::memcpy(p_, src, size_t(n));
        p_ += n;
    }

private:
    MetafileData &data_;
    char *p_ = nullptr;
};

// Reads records back; every read is checked against the payload's length.
class RecordReader {
public:
    explicit RecordReader(const QByteArray &stream) : p_(stream.constData()), end_(stream.constData() + stream.size())
    {
    }
    // Moves to the next record; false at the end or on a damaged stream.
    bool Next()
    {
        p_ = next_ ? next_ : p_;
        quint32 t, n;
        if (!ReadVarint(p_, end_, t) || !ReadVarint(p_, end_, n) || qsizetype(n) > end_ - p_) {
            p_ = next_ = end_;
            return false;
        }
        type_ = int(t);
        cur_ = p_;
        payloadEnd_ = cur_ + n;
        next_ = payloadEnd_;
        ok_ = true;
        return true;
    }
    int Type() const { return type_; }
    template <typename T> T Get()
    {
        T value{};
        if (payloadEnd_ - cur_ < qsizetype(sizeof(T))) {
            ok_ = false;
            cur_ = payloadEnd_;
            return value;
        }
        std::memcpy(&value, cur_, sizeof(T));
        cur_ += sizeof(T);
        return value;
    }
    // Pointer to n raw bytes of the payload, or null when they are not there.
    const char *GetBytes(qsizetype n)
    {
        if (n < 0 || payloadEnd_ - cur_ < n) {
            ok_ = false;
            cur_ = payloadEnd_;
            return nullptr;
        }
        const char *at = cur_;
        cur_ += n;
        return at;
    }
    quint32 GetVarint()
    {
        quint32 value = 0;
        if (!ReadVarint(cur_, payloadEnd_, value)) {
            ok_ = false;
            cur_ = payloadEnd_;
        }
        return value;
    }
    qsizetype Remaining() const { return payloadEnd_ - cur_; }
    bool Ok() const { return ok_; }

private:
    // Reads a varint at p, moving p past it; false when it runs past end or beyond 32 bits.
    static bool ReadVarint(const char *&p, const char *end, quint32 &value)
    {
        value = 0;
        for (int shift = 0; p < end && shift < 35; shift += 7) {
            const quint8 byte = quint8(*p++);
            if (shift == 28 && byte > 0x0F)
                return false;
            value |= quint32(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return true;
        }
        return false;
    }

    const char *p_;
    const char *end_;
    const char *next_ = nullptr;
    const char *cur_ = nullptr;
    const char *payloadEnd_ = nullptr;
    int type_ = 0;
    bool ok_ = true;
};

} // namespace platform
