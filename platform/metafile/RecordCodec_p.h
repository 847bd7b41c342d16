#pragma once
// Turns records into the stream's compact payloads and back. Internal to PageMetafile.
#include "platform/metafile/MetafileData_p.h"
#include "platform/metafile/PageMetafile.h"

namespace platform {

// A pen that fits the plain pen record: one colour, a standard style.
bool IsPlainPen(const QPen &pen);
// A brush that fits the plain brush record: one colour, solid, hatched or none.
bool IsPlainBrush(const QBrush &brush);

// Appends any record but text (EmrExtTextOutW).
void EncodeRecord(MetafileData &data, const MetaRecord &record);
// Appends a text record: glyphs of data.faces[face] from origin, at natural advances when dx is null,
// otherwise at origin.x + dx[i]. text holds the glyphs' characters, one code point per glyph, or is
// empty when they are not known.
void EncodeText(MetafileData &data, int face, int flags, QPointF origin, const quint16 *glyphs, int count,
                const float *dx, QStringView text);

// Decodes the reader's current text record into record; false when it is damaged.
bool DecodeText(const MetafileData &data, RecordReader &reader, MetaRecord &record);
// Decodes the reader's current record into record; false when it is damaged or unknown.
bool DecodeRecord(const MetafileData &data, RecordReader &reader, MetaRecord &record);

} // namespace platform
