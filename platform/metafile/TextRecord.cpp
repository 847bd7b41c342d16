// The text record's payload. A listing page holds hundreds of short text records, so the payload
// leaves out what can be found again exactly:
//   u8 mode: encoding bits below, the text flags in the high nibble
//   varint face, then the origin: two floats, or two zigzag varints when both are whole numbers
//   varint glyph count (left out when the face's table gives the glyphs and there are no
//   explicit positions: one glyph per text unit), the u16 glyph indexes unless the face's
//   table gives them for the text,
//   a float offset from origin.x per glyph with explicit positions,
//   varint text length, the text in UTF-8 (bytes) or, when it holds a lone surrogate, UTF-16 (units).
#include "platform/metafile/RecordCodec_p.h"

#include "platform/text/GlyphPainter.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr quint8 kExplicitPositions = 0x01;
constexpr quint8 kGlyphsFromText = 0x02;
constexpr quint8 kUtf8Text = 0x04;
constexpr quint8 kWholeOrigin = 0x08;
constexpr int kFlagShift = 4;
static_assert(((kTextUnderline | kTextStrikeOut) >> kFlagShift) == 0, "text flags fit the high nibble");

// A float that is a whole number a varint keeps exactly (not -0, within a float's whole range).
bool IsWhole(float v)
{
    return std::abs(v) <= float(1 << 24) && float(qint32(v)) == v && !(v == 0 && std::signbit(v));
}

quint32 ZigZag(qint32 v)
{
    return (quint32(v) << 1) ^ quint32(v >> 31);
}

qint32 UnZigZag(quint32 v)
{
    return qint32(v >> 1) ^ -qint32(v & 1);
}

// What a text record can leave out, found in one pass over the text: whether every glyph is the one
// the face's table gives for its character, and whether the text is ASCII.
struct TextShape {
    bool glyphsFromText = true;
    bool ascii = true;
};

TextShape ShapeOf(const FontFace &face, const quint16 *glyphs, int count, QStringView text)
{
    TextShape shape;
    shape.glyphsFromText = text.size() == count;
    char16_t all = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        all |= c;
        if (shape.glyphsFromText) {
            const std::optional<quint16> g = face.TableGlyph(c);
            shape.glyphsFromText = g && *g == glyphs[i];
        }
    }
    shape.ascii = all < 0x80;
    return shape;
}

// The UTF-8 length of text, or -1 when it holds a lone surrogate (UTF-8 cannot carry one).
qsizetype Utf8Bytes(QStringView text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            n += 1;
        } else if (c < 0x800) {
            n += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            n += 4;
            ++i;
        } else if (QChar::isSurrogate(c)) {
            return -1;
        } else {
            n += 3;
        }
    }
    return n;
}

void PutUtf8(RecordWriter &w, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c))
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        if (c < 0x80) {
            w.Put(quint8(c));
        } else if (c < 0x800) {
            w.Put(quint8(0xC0 | (c >> 6)));
            w.Put(quint8(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            w.Put(quint8(0xE0 | (c >> 12)));
            w.Put(quint8(0x80 | ((c >> 6) & 0x3F)));
            w.Put(quint8(0x80 | (c & 0x3F)));
        } else {
            w.Put(quint8(0xF0 | (c >> 18)));
            w.Put(quint8(0x80 | ((c >> 12) & 0x3F)));
            w.Put(quint8(0x80 | ((c >> 6) & 0x3F)));
            w.Put(quint8(0x80 | (c & 0x3F)));
        }
    }
}

// Decodes n bytes of UTF-8 into out; false on a malformed sequence (a damaged stream).
bool GetUtf8(const char *bytes, qsizetype n, QString &out)
{
    out.resize(n); // never more UTF-16 units than UTF-8 bytes
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *p = reinterpret_cast<const quint8 *>(bytes);
    const quint8 *end = p + n;
    while (p < end) {
        const quint8 lead = *p++;
        if (lead < 0x80) {
            *dst++ = lead;
            continue;
        }
        const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (more < 0 || lead > 0xF4 || end - p < more)
            return false;
        char32_t c = lead & (0x3F >> more);
        for (int k = 0; k < more; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (p[k] & 0x3F);
        }
        p += more;
        if (c > 0x10FFFF || QChar::isSurrogate(c))
            return false;
        if (QChar::requiresSurrogates(c)) {
            *dst++ = QChar::highSurrogate(c);
            *dst++ = QChar::lowSurrogate(c);
        } else {
            *dst++ = char16_t(c);
        }
    }
    if (const qsizetype units = dst - reinterpret_cast<char16_t *>(out.data()); units != n)
        out.resize(units);
    return true;
}

} // namespace

void EncodeText(MetafileData &data, int face, int flags, QPointF origin, const quint16 *glyphs, int count,
                const float *dx, QStringView text)
{
    count = std::clamp(count, 0, 0xFFFF);
    text = text.first(std::min<qsizetype>(text.size(), 0xFFFF));
    const TextShape shape = ShapeOf(*data.faces[face], glyphs, count, text);
    // Converted after the loop: the compiler converts both at once through memory, and just after
    // the two stores that load would wait for them.
    const float x = float(origin.x());
    const float y = float(origin.y());
    const bool whole = IsWhole(x) && IsWhole(y);
    const bool fromText = shape.glyphsFromText;
    const bool ascii = shape.ascii;
    const qsizetype utf8 = ascii ? text.size() : Utf8Bytes(text);
    const qsizetype textUnits = utf8 >= 0 ? utf8 : text.size();
    const quint8 mode =
        quint8(((flags & 0x0F) << kFlagShift) | (dx ? kExplicitPositions : 0) | (fromText ? kGlyphsFromText : 0) |
               (utf8 >= 0 ? kUtf8Text : 0) | (whole ? kWholeOrigin : 0));
    const qsizetype originBytes = whole ? VarintBytes(ZigZag(qint32(x))) + VarintBytes(ZigZag(qint32(y))) : 8;
    const bool countFromText = fromText && !dx;
    RecordWriter w(data, EmrExtTextOutW,
                   1 + VarintBytes(quint32(face)) + originBytes + (countFromText ? 0 : VarintBytes(quint32(count))) +
                       (fromText ? 0 : count * 2) + (dx ? count * 4 : 0) + VarintBytes(quint32(textUnits)) +
                       (utf8 >= 0 ? utf8 : text.size() * 2));
    w.Put(mode);
    w.PutVarint(quint32(face));
    if (whole) {
        w.PutVarint(ZigZag(qint32(x)));
        w.PutVarint(ZigZag(qint32(y)));
    } else {
        w.Put(x);
        w.Put(y);
    }
    if (!countFromText)
        w.PutVarint(quint32(count));
    if (!fromText)
        w.PutBytes(glyphs, count * 2);
    if (dx)
        w.PutBytes(dx, count * 4);
    w.PutVarint(quint32(textUnits));
    if (ascii)
        w.PutNarrow(text.utf16(), text.size());
    else if (utf8 >= 0)
        PutUtf8(w, text);
    else
        w.PutBytes(text.data(), text.size() * 2);
}

bool DecodeText(const MetafileData &data, RecordReader &r, MetaRecord &rec)
{
    const quint8 mode = r.Get<quint8>();
    const quint32 face = r.GetVarint();
    float ox, oy;
    if (mode & kWholeOrigin) {
        ox = float(UnZigZag(r.GetVarint()));
        oy = float(UnZigZag(r.GetVarint()));
    } else {
        ox = r.Get<float>();
        oy = r.Get<float>();
    }
    const bool fromText = mode & kGlyphsFromText;
    const bool countFromText = fromText && !(mode & kExplicitPositions);
    quint32 n = countFromText ? 0 : r.GetVarint();
    if (!r.Ok() || face >= quint32(data.faces.size()) || n > 0xFFFF)
        return false;
    const char *g = fromText ? nullptr : r.GetBytes(qsizetype(n) * 2);
    const char *dx = (mode & kExplicitPositions) ? r.GetBytes(qsizetype(n) * 4) : nullptr;
    const quint32 units = r.GetVarint();
    if (!r.Ok())
        return false;
    if (mode & kUtf8Text) {
        const char *text = r.GetBytes(units);
        if (!text || !GetUtf8(text, units, rec.text))
            return false;
    } else {
        const char *text = r.GetBytes(qsizetype(units) * 2);
        if (!text)
            return false;
        rec.text.resize(units);
        std::memcpy(rec.text.data(), text, size_t(units) * 2);
    }
    if (countFromText)
        n = quint32(rec.text.size());
    if (n > 0xFFFF)
        return false;
    const FontFace &f = *data.faces[face];
    // Written through plain pointers: indexing the lists would ask whether to detach at every glyph.
    rec.glyphs.resize(n);
    quint32 *glyphs = rec.glyphs.data();
    if (fromText) {
        if (rec.text.size() != qsizetype(n))
            return false;
        const QChar *chars = rec.text.constData();
        for (quint32 i = 0; i < n; ++i) {
            const std::optional<quint16> id = f.TableGlyph(chars[i].unicode());
            if (!id)
                return false;
            glyphs[i] = *id;
        }
    } else {
        for (quint32 i = 0; i < n; ++i) {
            quint16 id;
            std::memcpy(&id, g + i * 2, 2);
            glyphs[i] = id;
        }
    }
    rec.face = data.faces[face];
    rec.value = mode >> kFlagShift;
    rec.origin = QPointF(ox, oy);
    if (dx) {
        rec.positions.resize(n);
        QPointF *at = rec.positions.data();
        for (quint32 i = 0; i < n; ++i) {
            float d;
            std::memcpy(&d, dx + i * 4, 4);
            at[i] = QPointF(ox + d, oy);
        }
    } else {
        NaturalPositions(*rec.face, rec.origin, rec.glyphs.constData(), n, rec.positions);
    }
    return true;
}

} // namespace platform
