#pragma once
// Decoding printout text for drawing. Every character set a style can name is a single-byte code
// page, so a byte decodes on its own: a table per code page, built once, turns a field's bytes
// into text without a codec lookup per field.
#include <QByteArrayView>
#include <QString>

// Replaces out with bytes decoded by the style character set (as platform::DecodeCharset
// does); out keeps its capacity, so a reused string costs no allocation.
void DecodeInto(QByteArrayView bytes, int charset, QString &out);
