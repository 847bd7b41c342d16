#pragma once
// The counted strings of the printout body: marker 101 and a u8 length, or marker 102 and a
// u16 length, then the bytes (kept as they are, in the host's code page).
#include "core/InflateStream.h"

#include <QByteArray>
#include <QByteArrayView>

// Any failure while reading one, an inflate error included, raises EReadFileError [101].
QByteArray BodyString(TInflateStream &stream);

// The same without a copy: the bytes stay valid until the stream is read again.
QByteArrayView BodyStringView(TInflateStream &stream);
