#include "core/BodyString.h"

QByteArrayView BodyStringView(TInflateStream &stream)
{
    try {
        const quint8 kind = stream.ReadU8();
        size_t length;
        if (kind == marker::kShortString)
            length = stream.ReadU8();
        else if (kind == marker::kLongString)
            length = stream.ReadU16();
        else
            throw EReadFileError::Marker(marker::kShortString);
        const char *bytes = stream.Need(length);
        stream.Skip(length);
        return QByteArrayView(bytes, static_cast<qsizetype>(length));
    } catch (const Exception &) {
        throw EReadFileError::Marker(marker::kShortString);
    }
}

QByteArray BodyString(TInflateStream &stream)
{
    return BodyStringView(stream).toByteArray();
}
