#pragma once
// The uncompressed header of a printout file and the small readers it is made of. The library
// uses the same readers and check to recognise printouts inside packages.
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

namespace header {

inline constexpr QByteArrayView kMagic2001 = "WENOR2001";
inline constexpr QByteArrayView kMagic2000 = "WENOR2000";
inline constexpr QByteArrayView kPrintoutName = "Wydruk";

// Each reads exactly the bytes it needs; a short read raises EStreamError "Stream read error".
quint8 ReadByte(QIODevice &file);
quint16 ReadWord(QIODevice &file);
qint32 ReadDword(QIODevice &file);

} // namespace header

// A counted string: a length byte 0..253, or 254 and a u16 length, or 255 and an i32 length,
// then the text. A length of 0 or less is the empty string.
QByteArray HeaderString(QIODevice &file);

// True when the file starts with either magic followed by the header string `expectedName`
// (compared byte for byte). A wrong magic answers false without reading further; a file too
// short for the fields raises EStreamError.
bool CheckHeader(QIODevice &file, QByteArrayView expectedName = header::kPrintoutName);
