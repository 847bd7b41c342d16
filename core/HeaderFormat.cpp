#include "core/HeaderFormat.h"

#include "platform/base/Exception.h"

#include <QtEndian>

#include <algorithm>

namespace {

void ReadExactly(QIODevice &file, char *to, qint64 count)
{
    while (count > 0) {
        const qint64 got = file.read(to, count);
        if (got <= 0)
            throw EStreamError(QStringLiteral("Stream read error"));
        to += got;
        count -= got;
    }
}

} // namespace

namespace header {

quint8 ReadByte(QIODevice &file)
{
    char b;
    ReadExactly(file, &b, 1);
    return static_cast<quint8>(b);
}

quint16 ReadWord(QIODevice &file)
{
    char b[2];
    ReadExactly(file, b, 2);
    return qFromLittleEndian<quint16>(b);
}

qint32 ReadDword(QIODevice &file)
{
    char b[4];
    ReadExactly(file, b, 4);
    return qFromLittleEndian<qint32>(b);
}

} // namespace header

namespace {

// The length of a counted string; 0 for the empty string however it is written.
qint64 HeaderStringLength(QIODevice &file)
{
    const quint8 first = header::ReadByte(file);
    qint64 length = first;
    if (first == 254)
        length = header::ReadWord(file);
    else if (first == 255)
        length = header::ReadDword(file);
    return std::max<qint64>(length, 0);
}

QByteArray HeaderStringText(QIODevice &file, qint64 length)
{
    QByteArray text;
    // The text grows as its bytes arrive: a length field of two gigabytes on a short file
    // fails with the read error instead of allocating first.
    constexpr qint64 kPiece = 64 * 1024;
    while (text.size() < length) {
        const qint64 piece = std::min(kPiece, length - text.size());
        const qsizetype at = text.size();
        text.resize(at + piece);
        ReadExactly(file, text.data() + at, piece);
    }
    return text;
}

} // namespace

QByteArray HeaderString(QIODevice &file)
{
    return HeaderStringText(file, HeaderStringLength(file));
}

bool CheckHeader(QIODevice &file, QByteArrayView expectedName)
{
    char magic[9];
    ReadExactly(file, magic, sizeof magic);
    const QByteArrayView got(magic, sizeof magic);
    if (got != header::kMagic2001 && got != header::kMagic2000)
        return false;
    // A name of another length is not the one expected, however long it claims to be.
    const qint64 length = HeaderStringLength(file);
    if (length != expectedName.size())
        return false;
    return HeaderStringText(file, length) == expectedName;
}
