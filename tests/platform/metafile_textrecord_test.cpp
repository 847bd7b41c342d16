// Text records are stored compactly (glyphs found again from the text, whole origins as small numbers,
// UTF-8 text); what a page hands back must still be exactly what was recorded.
#include "platform/metafile/PageMetafile.h"
#include "platform/text/DrawText.h"
#include "platform/text/GlyphPainter.h"
#include "platform/text/GlyphRecorder.h"

#include <QPainter>

#include <cmath>

#include <gtest/gtest.h>

using namespace platform;

namespace {

TFont Courier()
{
    return CreateFont(-24, -11, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
}

QList<MetaRecord> TextRecords(const PageMetafile &page)
{
    QList<MetaRecord> records;
    page.Visit([&](MetaRecord &r) {
        if (r.type == EmrExtTextOutW)
            records.append(r);
        return true;
    });
    return records;
}

// The face's own glyph for every UTF-16 unit of text.
QList<quint16> TableGlyphs(const FontFace &face, const QString &text)
{
    QList<quint16> ids;
    for (QChar c : text)
        ids.append(face.Lookup(c.unicode()).index);
    return ids;
}

bool SameFloat(qreal a, qreal b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

TEST(TextRecord, NaturalRunsComeBackAsRecorded)
{
    const TFont font = Courier();
    const FontFace &face = font.Face();
    const QString lone = QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y");
    const QString astral = QStringLiteral("a") + QString::fromUcs4(U"\U0001F600", 1) + QStringLiteral("b");
    struct Row {
        const char *name;
        QPointF origin;
        QString text;
        QList<quint16> glyphs;
        int flags;
    };
    const QList<Row> rows = {
        {"ASCII at a whole origin", {100, 200}, "Lp. 123", TableGlyphs(face, "Lp. 123"), 0},
        {"Polish letters of the face's table", {7, 9}, "Zażółć gęślą", TableGlyphs(face, "Zażółć gęślą"), 0},
        {"letters past the table keep their glyphs", {0, 0}, "Привет", TableGlyphs(face, "Привет"), 0},
        {"glyphs that are not the table's for the text", {5, 5}, "abc", {1, 2, 3}, 0},
        {"one glyph of the run differs", {5, 5}, "abc", {face.Lookup('a').index, 0, face.Lookup('c').index}, 0},
        {"more units than glyphs (a code point past the BMP)", {1, 2}, astral, {4, 5, 6}, 0},
        {"a lone surrogate cannot be UTF-8", {1, 2}, lone, {4, 5, 6}, 0},
        {"no text known", {30, 40}, "", {9, 10, 11}, kTextUnderline},
        {"decorations only", {30, 40}, "", {}, kTextUnderline | kTextStrikeOut},
        {"text of a different length than the glyphs", {30, 40}, "ab", {9, 10, 11}, 0},
        {"fractional origin", {10.5, 20.25}, "ab", TableGlyphs(face, "ab"), 0},
        {"negative whole origin", {-3, -70000}, "ab", TableGlyphs(face, "ab"), kTextStrikeOut},
        {"negative zero keeps its sign", {-0.0, 12}, "ab", TableGlyphs(face, "ab"), 0},
        {"whole but past what a float counts in ones", {16777216, 33554432}, "ab", TableGlyphs(face, "ab"), 0},
        {"largest int", {2147483647.0, -2147483648.0}, "ab", TableGlyphs(face, "ab"), 0},
        {"origin a float rounds", {0.1, 1e-30}, "ab", TableGlyphs(face, "ab"), 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        PageMetafile page;
        {
            QPainter p(&page);
            GlyphRecorder *recorder = GlyphRecorder::From(&p);
            ASSERT_NE(recorder, nullptr);
            recorder->RecordText(font.FacePtr(), Qt::black, row.origin, row.glyphs.constData(), int(row.glyphs.size()),
                                 row.flags, row.text);
        }
        const QList<MetaRecord> records = TextRecords(page);
        ASSERT_EQ(records.size(), 1);
        const MetaRecord &r = records[0];
        EXPECT_EQ(r.face, font.FacePtr());
        EXPECT_EQ(r.value, row.flags);
        EXPECT_EQ(r.text, row.text);
        ASSERT_EQ(r.glyphs.size(), row.glyphs.size());
        for (qsizetype i = 0; i < r.glyphs.size(); ++i)
            EXPECT_EQ(r.glyphs[i], row.glyphs[i]) << "glyph " << i;
        EXPECT_TRUE(SameFloat(r.origin.x(), float(row.origin.x()))) << r.origin.x();
        EXPECT_TRUE(SameFloat(r.origin.y(), float(row.origin.y()))) << r.origin.y();
        ASSERT_EQ(r.positions.size(), row.glyphs.size());
        if (!r.positions.isEmpty()) {
            EXPECT_EQ(r.positions[0], r.origin);
        }
    }
}

TEST(TextRecord, PositionedRunsKeepEveryPosition)
{
    const TFont font = Courier();
    struct Row {
        const char *name;
        QList<QPointF> positions;
        QList<char32_t> codes;
    };
    // Positions a float holds exactly, so that they must come back unchanged.
    const QList<Row> rows = {
        {"whole baseline, uneven steps", {{10, 50}, {17.25, 50}, {30, 50}, {29.5, 50}}, {'a', 'b', 'c', 'd'}},
        {"fractional baseline", {{10.5, 50.75}, {21, 50.75}}, {U'ł', U'ż'}},
        {"two baselines make two records", {{0, 10}, {8, 10}, {0, 30}, {8, 30}}, {'a', 'b', 'c', 'd'}},
        {"characters not known", {{0, 10}, {8, 10}}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QList<quint32> glyphs;
        for (qsizetype i = 0; i < row.positions.size(); ++i)
            glyphs.append(quint32(row.codes.isEmpty() ? 40 + i : font.Face().Lookup(row.codes[i]).index));
        PageMetafile page;
        {
            QPainter p(&page);
            GlyphRecorder::From(&p)->RecordPositionedText(font.FacePtr(), Qt::black, glyphs, row.positions, {},
                                                          row.codes);
        }
        QList<QPointF> positions;
        QList<quint32> ids;
        QString text;
        for (const MetaRecord &r : TextRecords(page)) {
            positions += r.positions;
            ids += r.glyphs;
            text += r.text;
        }
        EXPECT_EQ(positions, row.positions);
        EXPECT_EQ(ids, glyphs);
        EXPECT_EQ(text, row.codes.isEmpty() ? QString() : QString::fromUcs4(row.codes.constData(), row.codes.size()));
    }
}

// A listing page is hundreds of short texts on whole-unit baselines: each must cost a small part of
// what its glyphs and characters took at two bytes apiece plus a fixed header.
TEST(TextRecord, ShortListingTextsAreSmall)
{
    const TFont font = Courier();
    PageMetafile page;
    constexpr int kLines = 60, kFields = 8;
    {
        QPainter p(&page);
        for (int line = 0; line < kLines; ++line)
            for (int field = 0; field < kFields; ++field) {
                TRect rect{field * 150, line * 30, field * 150 + 140, line * 30 + 30};
                DrawTextEx(&p, font, QStringLiteral("%1.%2").arg(line * 97 + field).arg(field), rect,
                           DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
            }
    }
    ASSERT_EQ(TextRecords(page).size(), kLines * kFields);
    const PageMetafile empty;
    const qsizetype perRecord = (page.MemoryBytes() - empty.MemoryBytes()) / (kLines * kFields);
    EXPECT_LE(perRecord, 20);
}
