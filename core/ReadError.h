#pragma once
// Errors of the printout body: a malformed body and a damaged compressed stream.
#include "platform/base/Exception.h"

#include <QString>

// A printout body that does not follow the format; the message names what was being read.
class EReadFileError : public Exception {
public:
    using Exception::Exception;

    // "Błąd czytania z pliku [N]": a record marker N (or string marker 101) that did not come.
    static EReadFileError Marker(int expected);
    static EReadFileError UnknownVersion(int version);
    static EReadFileError BadResolution(qint32 resolution);
};

// An inflate failure outside a string, raised by the inflating stream ("error").
class ECompressionError : public Exception {
public:
    ECompressionError() : Exception(QStringLiteral("error")) {}
};

// The inflated body ended before the value being read; record readers turn it into their own
// read error, so it only escapes from code that reads the stream directly.
class EBodyEnded : public EStreamError {
public:
    EBodyEnded() : EStreamError(QStringLiteral("Stream read error")) {}
};

// The marker values of the body's records and strings.
namespace marker {
inline constexpr quint8 kStyle = 1;
inline constexpr quint8 kRecord = 3;
inline constexpr quint8 kBlock = 4;
inline constexpr quint8 kLine = 5;
inline constexpr quint8 kField = 6;
inline constexpr quint8 kItems = 12;
inline constexpr quint8 kTrailer = 15;
inline constexpr quint8 kShortString = 101;
inline constexpr quint8 kLongString = 102;
} // namespace marker
