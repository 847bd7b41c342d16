// The document model: style lookup, the default style, positions on import, clearing and
// reading again, line counting and the caches later layout relies on.
#include "core/AnsiCase.h"
#include "core/MLineWydruk.h"
#include "core/PositionScale.h"
#include "core/TextStore.h"
#include "platform/text/CodePage.h"
#include "tests/support/ReadHelpers.h"
#include "tests/support/WydWriter.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wydtest;

namespace {

Document WithStyles(std::vector<Style> styles)
{
    Document doc;
    doc.Styles = std::move(styles);
    return doc;
}

TMLineWydruk &Read(TMLineWydruk &m, const Document &doc)
{
    ReadFileBytes(FileBytes(doc), m);
    return m;
}

} // namespace

TEST(StyleLookup, NameThenAliasIgnoringCaseFirstMatchWins)
{
    TMLineWydruk m;
    Read(m, WithStyles({{.Name = "Naglowek", .Alias = "H1"},
                        {.Name = "Tabela", .Alias = "naglowek"},
                        {.Name = "Domyslny"},
                        {.Name = "TABELA"},
                        // Windows-1250: "Zażółć" and "ZAŻÓŁĆ".
                        {.Name = "Za\xBF\xF3\xB3\xE6"}}));
    const TStyle &styles = m.Styles();
    const struct {
        const char *name;
        QByteArray lookup;
        int index;
    } rows[] = {
        {"exact name", "Naglowek", 1},
        // Style 2's alias equals style 1's name: the lower index wins.
        {"shared by name and alias", "NAGLOWEK", 1},
        {"alias in other case", "h1", 1},
        {"two styles of one name", "tabela", 2},
        {"default name read from the file", "Domyslny", 3},
        {"other case of the file's default", "domyslny", 3},
        {"Polish letters upper-cased", "ZA\xAF\xD3\xA3\xC6", 5},
        {"unknown name", "Brak", 0},
        // Style 3 is the first without an alias, and an empty alias is a name like any other.
        {"empty name finds the first empty alias", "", 3},
        {"prefix only", "Nag", 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(styles.Find(row.lookup), styles[row.index]) << row.name;
}

TEST(StyleLookup, FieldsFindTheirStyleOnceAndKeepIt)
{
    Document doc = WithStyles({{.Name = "Tabela", .Alias = "T"}});
    doc.Root.Title.Lines.push_back({.Fields = {{.StyleName = "t"}, {.StyleName = "nieznany"}, {}}});
    TMLineWydruk m;
    Read(m, doc);
    const TLinia &line = m.Root().Title[0];
    EXPECT_EQ(line[0].Styl(), m.Styles()[1]);
    EXPECT_EQ(line[1].Styl(), m.Styles().Default());
    EXPECT_EQ(line[2].StyleName(), QByteArrayView("Domyslny"));
    EXPECT_EQ(line[2].Styl(), m.Styles().Default());
}

TEST(AnsiCase, MatchesUnicodeUpperCasingOfWindows1250)
{
    // Every byte whose character has a single upper-case partner in the code page maps to it.
    for (int c = 0; c < 256; ++c) {
        const QByteArray byte(1, static_cast<char>(c));
        const QString text = platform::DecodeAnsi(byte);
        const QString upper = text.toUpper();
        const QByteArray mapped(1, static_cast<char>(AnsiUpper(static_cast<quint8>(c))));
        if (upper.size() == 1 && upper != text) {
            const QString back = platform::DecodeAnsi(mapped);
            if (back == upper || mapped == byte) // a capital outside the code page stays
                continue;
            ADD_FAILURE() << "byte " << c << " upper-cases to " << int(static_cast<quint8>(mapped[0]));
        } else {
            EXPECT_EQ(mapped, byte) << "byte " << c << " has no capital and must stay";
        }
    }
}

TEST(DefaultStyle, IsSizedForEightyFourLinesAndStaysSo)
{
    TMLineWydruk m;
    Document doc;
    doc.LinesPerPage = 60;
    Read(m, doc);
    const TStyl &def = *m.Styles().Default();
    EXPECT_EQ(m.LinesPerPage, 60);
    EXPECT_EQ(def.Name, "Domyslny");
    EXPECT_EQ(def.FontName, "Courier New");
    EXPECT_FLOAT_EQ(def.CharHeight, 3.5f);
    EXPECT_FLOAT_EQ(def.CharWidth, 210.0f / 132);
    EXPECT_EQ(def.Columns, 132);
    EXPECT_EQ(def.Charset, 186);
    EXPECT_EQ(def.Reserved, -1);
    EXPECT_EQ(def.Color, 0);
    EXPECT_EQ(def.FontStyle, 0);
    EXPECT_TRUE(def.Alias.isEmpty());
}

TEST(Positions, ScaleWithResolutionRoundingHalvesToEven)
{
    const struct {
        const char *name;
        qint32 resolution, x, width;
        qint32 wantX, wantWidth;
    } rows[] = {
        {"X 1200 at 1200 dpi", 1200, 1200, 1200, 180, 180},
        // 0.15 as a single is a little above 0.15: 10 x it is 1.5000000596 and rounds up.
        {"just above a half", 1200, 10, 10, 2, 1},
        // At 360 the scale is exactly 0.5: true halves go to the even neighbour.
        {"half to even, down", 360, 5, 5, 2, 2},
        {"half to even, up", 360, 7, 7, 4, 3},
        {"negative half to even", 360, -5, -5, -2, -2},
        {"width truncates", 1200, 1100, 1199, 165, 179},
        {"negative width truncates toward zero", 1200, -13, -13, -2, -1},
        {"exact at 180", 180, 1234, 1234, 1234, 1234},
        {"huge values saturate", 1, 2000000000, -2000000000, 2147483647, -2147483647 - 1},
    };
    for (const auto &row : rows) {
        Document doc;
        doc.Version = 5;
        doc.Resolution = row.resolution;
        doc.Root.Title.Lines.push_back({.Fields = {{.X = row.x, .Width = row.width}}});
        TMLineWydruk m;
        Read(m, doc);
        EXPECT_EQ(m.PositionScale, 180.0f / row.resolution) << row.name;
        EXPECT_EQ(m.Root().Title[0][0].X(), row.wantX) << row.name;
        EXPECT_EQ(m.Root().Title[0][0].Width(), row.wantWidth) << row.name;
    }
}

TEST(Positions, BelowVersionFiveResolutionIs1200)
{
    Document doc;
    doc.Version = 4;
    doc.Resolution = 600; // not written
    doc.Root.Title.Lines.push_back({.Fields = {{.X = 1200, .Width = 2400}}});
    TMLineWydruk m;
    Read(m, doc);
    EXPECT_EQ(m.Resolution, 1200);
    EXPECT_EQ(m.Root().Title[0][0].X(), 180);
    EXPECT_EQ(m.Root().Title[0][0].Width(), 360);
}

TEST(Reading, SecondReadDiscardsTheFirst)
{
    Document first = WithStyles({{.Name = "A"}, {.Name = "B"}});
    first.LinesPerPage = 50;
    Record item;
    item.Title.Lines.push_back({.Fields = {{.StyleName = "B", .Text = "pierwszy"}}});
    first.Root.Items = {item, item, item};
    first.Root.Summary.Lines.push_back({.Fields = {{.Text = "stopka"}}});

    Document second = WithStyles({{.Name = "C"}});
    second.Version = 1;
    second.Root.Title.Lines.push_back({.Fields = {{.StyleName = "B", .Text = "drugi"}}});

    TMLineWydruk m;
    Read(m, first);
    ASSERT_EQ(m.TotalLineCount(), 4);
    ASSERT_EQ(m.Root().Items()[0]->Title[0][0].Styl(), m.Styles()[2]);
    m.Root().State = TRecordState::Finished;
    Read(m, second);
    EXPECT_EQ(m.Styles().Count(), 2);
    EXPECT_EQ(m.Styles()[1]->Name, "C");
    EXPECT_TRUE(m.Root().Items().empty());
    EXPECT_EQ(m.Root().Summary.Count(), 0);
    EXPECT_EQ(m.Root().State, TRecordState::NotStarted);
    EXPECT_EQ(m.TotalLineCount(), 1) << "the cached total is counted anew";
    EXPECT_EQ(m.LinesPerPage, 84) << "a version-1 body means the default";
    const TPole &f = m.Root().Title[0][0];
    EXPECT_EQ(f.Text(), QByteArrayView("drugi"));
    EXPECT_EQ(f.Styl(), m.Styles().Default()) << "style B went with the first printout";
}

TEST(Reading, FailedReadKeepsWhatWasReadWhole)
{
    Document doc;
    doc.Root.Title.Lines.push_back({.Fields = {{.Text = "jeden"}}});
    doc.Root.Title.Lines.push_back({.Fields = {{.Text = "dwa"}, {.Text = "trzy"}}});
    BodyWriter w(7);
    w.Globals(doc).Styles(doc).Marker(3).Marker(4).U8(1).U8(0).I32(3);
    w.LineRecord(doc.Root.Title.Lines[0]).LineRecord(doc.Root.Title.Lines[1]);
    w.Marker(5).U8(0).U8(2).FieldRecord({.Text = "cztery"}); // the second field never comes
    TMLineWydruk m;
    EXPECT_THROW(ReadBodyBytes(w.Body(), m), EReadFileError);
    ASSERT_EQ(m.Root().Title.Count(), 2);
    EXPECT_EQ(m.Root().Title[1][1].Text(), QByteArrayView("trzy"));
}

TEST(Model, LineCountLeavesOutColumnHeadersAndSpareLines)
{
    const Line one{.Fields = {{.Text = "x"}}};
    Record leaf;
    leaf.Title.Lines = {one, one};
    leaf.ColumnHeader.Lines = {one};
    leaf.SpareLines.Lines = {one, one, one};
    leaf.Summary.Lines = {one};
    Record mid;
    mid.Items = {leaf, leaf};
    mid.Summary.Lines = {one};
    Document doc;
    doc.Root.Items = {mid, Record{}, leaf};
    doc.Root.ColumnHeader.Lines = {one, one};
    TMLineWydruk m;
    Read(m, doc);
    EXPECT_EQ(m.Root().Items()[0]->LineCount(), 7);
    EXPECT_EQ(m.TotalLineCount(), 10);
}

TEST(Model, SettingTextForcesMeasuringAgain)
{
    Document doc;
    doc.Root.Title.Lines.push_back({.Fields = {{.Text = "stary"}}});
    TMLineWydruk m;
    Read(m, doc);
    TPole &f = m.Root().Title[0][0];
    f.MeasuredHeight = 42;
    f.SetText("nowy tekst");
    EXPECT_EQ(f.Text(), QByteArrayView("nowy tekst"));
    EXPECT_EQ(f.MeasuredHeight, 0);
}

TEST(Model, ChangedFlagsCoverOnlyTheFileStyles)
{
    TMLineWydruk m;
    Read(m, WithStyles({{.Name = "A"}, {.Name = "B"}}));
    TStyle &styles = m.Styles();
    EXPECT_TRUE(styles.AnyChanged());
    styles.ClearChanged();
    EXPECT_FALSE(styles.AnyChanged());
    EXPECT_TRUE(styles.Default()->Changed) << "index 0 is left alone";
    styles.Default()->Changed = true;
    EXPECT_FALSE(styles.AnyChanged());
    styles.SetChanged();
    EXPECT_TRUE(styles[1]->Changed && styles[2]->Changed);
}

TEST(Model, FreshModelDefaults)
{
    TMLineWydruk m;
    EXPECT_EQ(m.LinesPerPage, 84);
    EXPECT_EQ(m.Styles().Count(), 1);
    EXPECT_EQ(m.TotalLineCount(), 0);
    EXPECT_TRUE(m.OwnsPages);
    EXPECT_EQ(m.RulePenWidth, 0.15L);
    TStyl fileStyle(&m);
    EXPECT_FLOAT_EQ(fileStyle.CharHeight, 3.5f);
    EXPECT_TRUE(fileStyle.Changed);
    EXPECT_EQ(fileStyle.Charset, 186);
}

TEST(Positions, QuickPathAgreesWithExtendedPrecision)
{
    // Positions below 2^29 take a double path; it must give what the extended product gives.
    quint32 x = 99;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1664525u + 1013904223u;
        const auto value = static_cast<qint32>(x) >> (x % 24);
        const qint32 resolution = 1 + static_cast<qint32>((x >> 7) % 5000);
        const float scale = PositionScaleFor(resolution);
        const long double exact = static_cast<long double>(value) * static_cast<long double>(scale);
        const long double even = std::nearbyint(exact);
        if (std::fabs(even) < 2e9L) {
            ASSERT_EQ(ScaleRound(value, scale), static_cast<qint32>(even)) << value << " at " << resolution;
        }
        const long double cut = std::trunc(exact);
        if (std::fabs(cut) < 2e9L) {
            ASSERT_EQ(ScaleTrunc(value, scale), static_cast<qint32>(cut)) << value << " at " << resolution;
        }
    }
}

TEST(Reading, LongStringsUseTheWordLength)
{
    const QByteArray t300(300, 'a'), tMax(65535, 'z');
    Document doc;
    doc.Styles = {{.Name = QByteArray(255, 's'), .Alias = QByteArray(256, 'S')}};
    doc.Root.Title.Lines.push_back({.Fields = {{.Text = t300}, {.Text = tMax}, {.Text = "po"}}});
    TMLineWydruk m;
    Read(m, doc);
    const TLinia &line = m.Root().Title[0];
    EXPECT_EQ(line[0].Text(), QByteArrayView(t300));
    EXPECT_EQ(line[1].Text(), QByteArrayView(tMax));
    EXPECT_EQ(line[2].Text(), QByteArrayView("po"));
    EXPECT_EQ(m.Styles()[1]->Alias.size(), 256);
    // Short texts in the word form read the same.
    TMLineWydruk w;
    ReadFileBytes(FileFromBody(BodyBytes(doc, {.LongStrings = true})), w);
    EXPECT_EQ(w.Root().Title[0][2].Text(), QByteArrayView("po"));
    EXPECT_EQ(w.Styles()[1]->Name, QByteArray(255, 's'));
}

TEST(Reading, BigBlocksAndListsKeepEveryElementInOrder)
{
    // Runs longer than a storage chunk, many chunks and texts crossing chunk ends. Regression:
    // a line of 255 fields once got a fresh chunk of 64 and wrote past it.
    Document doc;
    for (int i = 0; i < 20000; ++i)
        doc.Root.Title.Lines.push_back({.Fields = {{.X = i, .Text = QByteArray::number(i)}}});
    Line wide;
    for (int i = 0; i < 255; ++i)
        wide.Fields.push_back({.Kind = static_cast<quint8>(i % 6), .Text = QByteArray(i * 37 % 500, 'x')});
    Record item;
    item.Summary.Lines = {wide};
    for (int i = 0; i < 100; ++i)
        doc.Root.Items.push_back(item);
    TMLineWydruk m;
    Read(m, doc);
    ASSERT_EQ(m.Root().Title.Count(), 20000);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(m.Root().Title[i][0].Text(), QByteArrayView(QByteArray::number(i))) << i;
        ASSERT_EQ(m.Root().Title[i].Block(), &m.Root().Title);
    }
    ASSERT_EQ(m.Root().Items().size(), 100u);
    for (const TMLine *r : m.Root().Items()) {
        ASSERT_EQ(r->Summary.Count(), 1);
        const TLinia &line = r->Summary[0];
        ASSERT_EQ(line.Count(), 255);
        for (int i = 0; i < 255; ++i) {
            ASSERT_EQ(line[i].Kind(), TFieldKind(i % 6));
            ASSERT_EQ(line[i].Text().size(), i * 37 % 500);
        }
    }
    EXPECT_EQ(m.TotalLineCount(), 20100);
}

TEST(Model, DrawnRectangleSpansTheFieldOnceDrawn)
{
    Document doc;
    doc.Version = 5;
    doc.Resolution = 180;
    doc.Root.Title.Lines.push_back({.Fields = {{.X = 100, .Width = 250}}});
    TMLineWydruk m;
    Read(m, doc);
    TPole &f = m.Root().Title[0][0];
    EXPECT_EQ(f.DrawnRect(), TDevRect{}) << "nothing before the first drawing";
    f.SetDrawn(40, 35);
    EXPECT_EQ(f.DrawnRect(), (TDevRect{100, 40, 350, 75}));
    f.SetDrawn(kFarEdge - 10, 1000);
    EXPECT_EQ(f.DrawnRect().Bottom, kFarEdge) << "the bottom stays where the drawing clamps edges";
}

TEST(Model, TextStoreGivesBackEveryTextAndStoresRepeatsOnce)
{
    TTextStore store;
    std::vector<QByteArray> texts;
    // Lengths at the steps of the stored length, at the sharing limit, and the longest text.
    for (const int n : {1, 64, 65, 127, 128, 16383, 16384, int(TTextStore::kMaxText), 3})
        texts.push_back(QByteArray(n, char('a' + n % 26)));
    // Enough short texts, many repeated, to fill chunks and make slots collide.
    for (int i = 0; i < 60000; ++i)
        texts.push_back("r" + QByteArray::number(i * 7919 % 9000));
    std::vector<TTextRef> refs;
    for (const QByteArray &text : texts)
        refs.push_back(store.Add(text));
    for (size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(store.View(refs[i]), texts[i]) << "text " << i;

    EXPECT_EQ(store.Add(""), TTextRef{});
    EXPECT_TRUE(store.View(TTextRef{}).isEmpty());
    const TTextRef rate = store.Add("23%");
    const size_t held = store.Capacity();
    for (int i = 0; i < 100000; ++i)
        ASSERT_EQ(store.Add(QByteArray("23%")), rate);
    EXPECT_EQ(store.Capacity(), held) << "a repeated short text is stored once";
    EXPECT_THROW(store.Add(QByteArray(TTextStore::kMaxText + 1, 'x')), std::length_error);
}
