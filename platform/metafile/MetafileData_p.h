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

// Each record is [u16 type][u32 payload bytes][payload]. Payloads are plain numbers; pens, brushes,
// paths, images and fonts that do not fit in numbers live in the tables and are referred to by index.
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

// Appends one record's payload to the stream.
class RecordWriter {
public:
    RecordWriter(MetafileData &data, int type, qsizetype payloadBytes) : data_(data)
    {
        const qsizetype at = data_.stream.size();
        data_.stream.resize(at + 6 + payloadBytes);
        p_ = data_.stream.data() + at;
        const quint16 t = quint16(type);
        const quint32 n = quint32(payloadBytes);
        std::memcpy(p_, &t, 2);
        std::memcpy(p_ + 2, &n, 4);
        p_ += 6;
        ++data_.records;
    }
    template <typename T> void Put(T value)
    {
        std::memcpy(p_, &value, sizeof(T));
        p_ += sizeof(T);
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
        if (end_ - p_ < 6)
            return false;
        quint16 t;
        quint32 n;
        std::memcpy(&t, p_, 2);
        std::memcpy(&n, p_ + 2, 4);
        if (qsizetype(n) > end_ - p_ - 6)
            return false;
        type_ = t;
        cur_ = p_ + 6;
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
    qsizetype Remaining() const { return payloadEnd_ - cur_; }
    bool Ok() const { return ok_; }

private:
    const char *p_;
    const char *end_;
    const char *next_ = nullptr;
    const char *cur_ = nullptr;
    const char *payloadEnd_ = nullptr;
    int type_ = 0;
    bool ok_ = true;
};

} // namespace platform
