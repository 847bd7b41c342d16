#include "platform/emf/EmfRecord_p.h"

#include <cmath>

namespace platform::emf {

std::optional<QTransform> Record::Xform(quint64 offset) const
{
    float v[6];
    for (int i = 0; i < 6; ++i) {
        auto f = F32(offset + 4 * i);
        if (!f || !std::isfinite(*f))
            return std::nullopt;
        v[i] = *f;
    }
    return QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
}

std::optional<Record> RecordReader::Next()
{
    if (offset_ > size_ || size_ - offset_ < 8)
        return std::nullopt;
    const uchar *p = data_ + offset_;
    const quint32 size = quint32(p[4]) | quint32(p[5]) << 8 | quint32(p[6]) << 16 | quint32(p[7]) << 24;
    // A size below the record header or past the end leaves no way to find the next record.
    if (size < 8 || size > size_ - offset_)
        return std::nullopt;
    offset_ += size;
    return Record(p, size);
}

} // namespace platform::emf
