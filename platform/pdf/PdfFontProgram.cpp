#include "platform/pdf/PdfFontProgram.h"

#include <algorithm>
#include <array>
#include <map>

namespace platform {

namespace {

quint16 U16(const QByteArray &t, qsizetype at)
{
    if (at < 0 || at + 2 > t.size())
        return 0;
    return quint16((quint8(t[at]) << 8) | quint8(t[at + 1]));
}

qint16 S16(const QByteArray &t, qsizetype at)
{
    return qint16(U16(t, at));
}

quint32 U32(const QByteArray &t, qsizetype at)
{
    return (quint32(U16(t, at)) << 16) | U16(t, at + 2);
}

void Put16(QByteArray &t, qsizetype at, quint16 v)
{
    t[at] = char(v >> 8);
    t[at + 1] = char(v & 0xFF);
}

void Append32(QByteArray &t, quint32 v)
{
    t.append(char(v >> 24)).append(char((v >> 16) & 0xFF)).append(char((v >> 8) & 0xFF)).append(char(v & 0xFF));
}

void Append16(QByteArray &t, quint16 v)
{
    t.append(char(v >> 8)).append(char(v & 0xFF));
}

quint32 Checksum(const QByteArray &t)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < t.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < t.size() ? quint8(t[i + k]) : 0);
        sum += word;
    }
    return sum;
}

// Flags of a composite glyph's component record.
constexpr quint16 kArgsAreWords = 0x0001;
constexpr quint16 kHaveScale = 0x0008;
constexpr quint16 kMoreComponents = 0x0020;
constexpr quint16 kHaveXYScale = 0x0040;
constexpr quint16 kHaveTwoByTwo = 0x0080;

} // namespace

PdfFontProgram::PdfFontProgram(const QRawFont &font)
{
    if (!font.isValid())
        return;
    head_ = font.fontTable("head");
    hhea_ = font.fontTable("hhea");
    maxp_ = font.fontTable("maxp");
    loca_ = font.fontTable("loca");
    glyf_ = font.fontTable("glyf");
    hmtx_ = font.fontTable("hmtx");
    cvt_ = font.fontTable("cvt ");
    fpgm_ = font.fontTable("fpgm");
    prep_ = font.fontTable("prep");
    os2_ = font.fontTable("OS/2");
    post_ = font.fontTable("post");
    if (head_.size() < 54 || hhea_.size() < 36 || maxp_.size() < 6 || loca_.isEmpty() || glyf_.isEmpty())
        return;
    unitsPerEm_ = std::max<int>(16, U16(head_, 18));
    xMin_ = S16(head_, 36);
    yMin_ = S16(head_, 38);
    xMax_ = S16(head_, 40);
    yMax_ = S16(head_, 42);
    longLoca_ = S16(head_, 50) == 1;
    ascent_ = S16(hhea_, 4);
    descent_ = S16(hhea_, 6);
    fixedPitch_ = post_.size() >= 16 && U32(post_, 12) != 0;
    glyphCount_ = U16(maxp_, 4);
    if (loca_.size() < qsizetype(glyphCount_ + 1) * (longLoca_ ? 4 : 2))
        return;
    const int metrics = std::min<int>(U16(hhea_, 34), int(hmtx_.size() / 4));
    if (metrics <= 0)
        return;
    advances_.resize(size_t(glyphCount_));
    for (int g = 0; g < glyphCount_; ++g)
        advances_[size_t(g)] = U16(hmtx_, qsizetype(std::min(g, metrics - 1)) * 4);
    valid_ = true;
}

double PdfFontProgram::Width(quint16 glyph) const
{
    if (glyph >= advances_.size())
        return 0;
    return advances_[glyph] * 1000.0 / unitsPerEm_;
}

bool PdfFontProgram::GlyphRange(quint16 g, quint32 &start, quint32 &end) const
{
    if (g >= glyphCount_)
        return false;
    if (longLoca_) {
        start = U32(loca_, qsizetype(g) * 4);
        end = U32(loca_, qsizetype(g) * 4 + 4);
    } else {
        start = quint32(U16(loca_, qsizetype(g) * 2)) * 2;
        end = quint32(U16(loca_, qsizetype(g) * 2 + 2)) * 2;
    }
    return start < end && end <= quint32(glyf_.size());
}

QByteArray PdfFontProgram::Subset(const std::vector<bool> &used) const
{
    if (!valid_)
        return {};
    // Close the set over composite glyphs' components.
    std::vector<bool> keep(size_t(glyphCount_), false);
    std::vector<quint16> todo;
    for (size_t g = 0; g < used.size(); ++g)
        if (used[g])
            todo.push_back(quint16(g));
    todo.push_back(0);
    while (!todo.empty()) {
        const quint16 g = todo.back();
        todo.pop_back();
        if (g >= glyphCount_ || keep[g])
            continue;
        keep[g] = true;
        quint32 start, end;
        if (!GlyphRange(g, start, end) || S16(glyf_, start) >= 0)
            continue;
        qsizetype at = qsizetype(start) + 10;
        for (int guard = 0; guard < 64 && at + 4 <= qsizetype(end); ++guard) {
            const quint16 flags = U16(glyf_, at);
            todo.push_back(U16(glyf_, at + 2));
            at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
            at += (flags & kHaveScale) ? 2 : (flags & kHaveXYScale) ? 4 : (flags & kHaveTwoByTwo) ? 8 : 0;
            if (!(flags & kMoreComponents))
                break;
        }
    }

    QByteArray glyf;
    QByteArray loca;
    loca.reserve((glyphCount_ + 1) * 4);
    for (int g = 0; g < glyphCount_; ++g) {
        Append32(loca, quint32(glyf.size()));
        quint32 start, end;
        if (keep[size_t(g)] && GlyphRange(quint16(g), start, end)) {
            glyf.append(glyf_.constData() + start, end - start);
            while (glyf.size() % 4)
                glyf.append('\0');
        }
    }
    Append32(loca, quint32(glyf.size()));

    QByteArray head = head_;
    Put16(head, 50, 1);                          // long offsets
    head[8] = head[9] = head[10] = head[11] = 0; // checkSumAdjustment, not needed by PDF readers

    std::map<QByteArray, QByteArray> tables = {{"head", head}, {"hhea", hhea_}, {"maxp", maxp_},
                                               {"loca", loca}, {"glyf", glyf},  {"hmtx", hmtx_}};
    // Glyph names (post) and the naming table are of no use to a PDF reader and take most of the room.
    const std::array<std::pair<const char *, const QByteArray *>, 4> optional = {
        {{"cvt ", &cvt_}, {"fpgm", &fpgm_}, {"prep", &prep_}, {"OS/2", &os2_}}};
    for (const auto &[tag, table] : optional)
        if (!table->isEmpty())
            tables.emplace(QByteArray(tag), *table);

    const quint16 n = quint16(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    Append32(out, 0x00010000);
    Append16(out, n);
    Append16(out, quint16(power * 16));
    Append16(out, log2);
    Append16(out, quint16(n * 16 - power * 16));
    quint32 offset = 12 + 16 * n;
    for (const auto &[tag, table] : tables) {
        out.append(tag.left(4));
        Append32(out, Checksum(table));
        Append32(out, offset);
        Append32(out, quint32(table.size()));
        offset += quint32((table.size() + 3) & ~3);
    }
    for (const auto &[tag, table] : tables) {
        out.append(table);
        while (out.size() % 4)
            out.append('\0');
    }
    return out;
}

} // namespace platform
