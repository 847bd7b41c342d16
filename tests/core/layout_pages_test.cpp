// Breaking printouts into pages: where pages end, which lines are dropped at the top of a page,
// how column headers repeat, and rich text that runs over several pages.
#include "tests/support/EmfBuilder.h"
#include "tests/support/LayoutHelpers.h"
#include "tests/support/ReadHelpers.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace wydtest;

namespace {

// Default-style lines are 24 units (3.5278 mm): 83 of them fill the 294 mm page. A filler of
// n rows is one line n * 24 units high.
Line Filler(int rows)
{
    return TextLine(Rows(rows, "f"));
}

Line RuleLine()
{
    return LineOf({TextAt(100, 1000, "", 4)});
}

// The page's texts without the filler rows.
QString Named(const QString &joined)
{
    QStringList kept;
    for (const QString &part : joined.split(u'|'))
        if (!part.startsWith(u'f'))
            kept << part;
    return kept.join(u'|');
}

std::vector<QString> NamedTexts(const Built &b)
{
    std::vector<QString> out;
    for (const QString &t : b.Texts())
        out.push_back(Named(t));
    return out;
}

using Pages = std::vector<QString>;

} // namespace

TEST(PageBreaks, OnlyAPrintoutWithoutLinesHasNoPage)
{
    // Regression: a lone line that takes no height (a picture whose frame is turned over) left the
    // page at y 0, which counted as empty: the printout laid out to no page at all.
    Field turned = TextAt(500, 100, "", 6);
    turned.Picture = EmfBuilder(9999, 4999, 0, 0, 400, 200).Finish();
    Field flat = TextAt(500, 100, "", 6);
    flat.Picture = EmfBuilder(0, 0, 9999, 0, 400, 200).Finish();
    const struct {
        const char *name;
        std::vector<Line> lines;
        size_t pages;
    } rows[] = {
        {"records without a single line", {}, 0},
        {"an empty text line", {TextLine("")}, 1},
        {"a picture whose frame is turned over", {LineOf({turned})}, 1},
        {"a picture of no height, twice", {LineOf({flat}), LineOf({flat})}, 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Document doc = DeviceDocument();
        doc.Root.Items.resize(3);
        doc.Root.Items[1].Title = BlockOf(row.lines);
        Built b = Build(doc);
        EXPECT_EQ(b.Pages.size(), row.pages);
    }
}

TEST(PageBreaks, FullPagesBreakBeforeTheLineThatDoesNotFit)
{
    Document doc = DeviceDocument();
    std::vector<Line> lines;
    for (int i = 1; i <= 170; ++i)
        lines.push_back(TextLine("l" + QByteArray::number(i)));
    doc.Root.Title = BlockOf(lines);
    Built b = Build(doc);
    ASSERT_EQ(b.Pages.size(), 3u);
    const PageRecords first = b.Records(0), second = b.Records(1);
    EXPECT_EQ(first.Texts.size(), 83u);
    EXPECT_EQ(first.Texts.back().Text, "l83");
    EXPECT_EQ(first.Texts.back().Top, 82 * 24);
    EXPECT_EQ(second.Texts.front().Text, "l84");
    EXPECT_EQ(second.Texts.front().Top, 0);
}

TEST(PageBreaks, TheLastTwoShortLinesOfABlockStayTogether)
{
    // After 81 rows (285.75 mm) B1 fits and so would B2 alone, but not B2 and B3 together.
    struct Row {
        const char *name;
        int lastRows; // rows of B3
        Pages pages;
    } rows[] = {
        {"short last line: B2 goes with it", 1, {"B1", "B2|B3"}},
        // B3 of 6 rows is 21 mm, not short: B2 stays and B3 opens the next page.
        {"long last line: no rule", 6, {"B1|B2", "B3"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Document doc = DeviceDocument();
        doc.Root.Title = BlockOf({Filler(81)});
        doc.Root.Summary = BlockOf({TextLine("B1"), TextLine("B2"), TextLine(Rows(row.lastRows, "B3-"))});
        Built b = Build(doc);
        Pages named = NamedTexts(b);
        for (QString &p : named)
            p.replace(QRegularExpression("B3-\\d+(\\|B3-\\d+)*"), "B3");
        EXPECT_EQ(named, row.pages);
    }
}

TEST(PageBreaks, RuleAndSkipAtTopLinesAreDroppedWhereTheyWouldOpenAPage)
{
    struct Row {
        const char *name;
        int fillerRows; // 83 rows leave no room for the next line
        Line opener;
        size_t rulesDrawn;
        Pages pages;
    } rows[] = {
        {"rule opening a page", 83, RuleLine(), 0, {"", "next"}},
        {"skip-at-top opening a page", 83, LineOf({TextAt(0, 500, "skip")}, true), 0, {"", "next"}},
        {"rule inside a page", 10, RuleLine(), 1, {"next"}},
        {"skip-at-top inside a page", 10, LineOf({TextAt(0, 500, "skip")}, true), 0, {"skip|next"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Document doc = DeviceDocument();
        doc.Root.Title = BlockOf({Filler(row.fillerRows)});
        doc.Root.Summary = BlockOf({row.opener, TextLine("next")});
        Built b = Build(doc);
        EXPECT_EQ(NamedTexts(b), row.pages);
        size_t rules = 0;
        for (size_t i = 0; i < b.Pages.size(); ++i)
            rules += b.Records(i).Lines.size();
        EXPECT_EQ(rules, row.rulesDrawn);
        // The dropped line takes no room: the next line is at the top.
        if (row.fillerRows == 83) {
            EXPECT_EQ(b.Records(1).Find("next")->Top, 0);
        }
    }
}

TEST(PageBreaks, ColumnHeadersRepeatWithTheirRulesButWithoutSkipAtTopLines)
{
    Document doc = DeviceDocument();
    doc.Root.ColumnHeader = BlockOf({LineOf({TextAt(0, 500, "skip")}, true), TextLine("CH"), RuleLine()});
    for (int i = 1; i <= 100; ++i) {
        Record item;
        item.Title = BlockOf({TextLine("i" + QByteArray::number(i))});
        doc.Root.Items.push_back(item);
    }
    Built b = Build(doc);
    ASSERT_EQ(b.Pages.size(), 2u);
    const PageRecords first = b.Records(0), second = b.Records(1);
    // Drawn whole the first time, rule included.
    EXPECT_EQ(first.Texts[0].Text, "skip");
    EXPECT_EQ(first.Texts[1].Text, "CH");
    EXPECT_EQ(first.Lines.size(), 1u);
    // Repeated: the skip-at-top line is dropped, the rule stays (a header is not a page top).
    EXPECT_EQ(second.Texts[0].Text, "CH");
    EXPECT_EQ(second.Texts[0].Top, 0);
    ASSERT_EQ(second.Lines.size(), 1u);
    EXPECT_EQ(second.Lines[0].Line.y1(), 24 + 12);
    EXPECT_EQ(second.Texts[1].Text, "i81");
}

TEST(PageBreaks, AHeaderThatWouldStandAloneMovesToTheNextPage)
{
    // The header (3 lines) and the first item's first line need 14.1 mm.
    struct Row {
        const char *name;
        int fillerRows;
        quint8 firstBreaks; // BreakBefore of the first item
        Pages pages;
    } rows[] = {
        // 80 rows leave 11.8 mm: the header moves and the first item's break is not made again.
        {"moved, first item breaks", 80, 1, {"", "CH1|CH2|CH3|I1|I2"}},
        {"moved", 80, 0, {"", "CH1|CH2|CH3|I1|I2"}},
        // With room, the header stays and the first item's break repeats it on the next page.
        {"in place, first item breaks", 10, 1, {"CH1|CH2|CH3", "CH1|CH2|CH3|I1|I2"}},
        {"in place", 10, 0, {"CH1|CH2|CH3|I1|I2"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Document doc = DeviceDocument();
        doc.Root.Title = BlockOf({Filler(row.fillerRows)});
        doc.Root.ColumnHeader = BlockOf({TextLine("CH1"), TextLine("CH2"), TextLine("CH3")});
        doc.Root.Items.resize(2);
        doc.Root.Items[0].Title = BlockOf({TextLine("I1")});
        doc.Root.Items[0].BreakBefore = row.firstBreaks;
        doc.Root.Items[1].Title = BlockOf({TextLine("I2")});
        EXPECT_EQ(NamedTexts(Build(doc)), row.pages);
    }
}

TEST(PageBreaks, NestedRecordsRepeatTheOuterThenTheInnerHeader)
{
    Document doc = DeviceDocument();
    doc.Root.ColumnHeader = BlockOf({TextLine("OH")});
    Record group;
    group.Title = BlockOf({TextLine("G")});
    group.ColumnHeader = BlockOf({TextLine("IH")});
    for (int i = 1; i <= 200; ++i) {
        Record item;
        item.Title = BlockOf({TextLine("a" + QByteArray::number(i))});
        group.Items.push_back(item);
    }
    group.Summary = BlockOf({TextLine("end")});
    doc.Root.Items.push_back(group);
    Built b = Build(doc);
    ASSERT_EQ(b.Pages.size(), 3u);
    EXPECT_TRUE(b.Texts()[0].startsWith("OH|G|IH|a1|"));
    // 83 lines a page: OH, G, IH and a1..a80 on the first, then two headers and 81 items.
    EXPECT_TRUE(b.Texts()[1].startsWith("OH|IH|a81|"));
    EXPECT_TRUE(b.Texts()[2].startsWith("OH|IH|a162|"));
    EXPECT_TRUE(b.Texts()[2].endsWith("|a200|end"));
}

TEST(PageBreaks, AKeptBlockTallerThanAPageStartsANewPageAndOverflowsIt)
{
    Document doc = DeviceDocument();
    doc.Root.Title = BlockOf({TextLine("first")});
    // 85 rows: 2040 units, more than the page's 2000.
    doc.Root.Summary = BlockOf({Filler(42), Filler(42), TextLine("last")}, false);
    Built b = Build(doc);
    ASSERT_EQ(b.Pages.size(), 2u);
    EXPECT_EQ(b.Texts()[0], "first");
    const PageRecords second = b.Records(1);
    const TextRun *last = second.Find("last");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Top, 84 * 24); // past the bottom edge
    EXPECT_EQ(second.Texts.size(), 85u);
}

TEST(PageBreaks, TwoBreaksInARowMakeOnePage)
{
    struct Row {
        const char *name;
        bool header;
        Pages pages;
    } rows[] = {
        {"nothing between the breaks", false, {"a", "b"}},
        // A repeated header is drawn content: the second break closes a page holding it.
        {"a header between the breaks", true, {"a|H", "H", "H|b"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Document doc = DeviceDocument();
        doc.Root.Title = BlockOf({TextLine("a")});
        if (row.header)
            doc.Root.ColumnHeader = BlockOf({TextLine("H")});
        Record item;
        item.BreakBefore = 1;
        item.Title = BlockOf({TextLine("b")}, true, true);
        doc.Root.Items.push_back(item);
        EXPECT_EQ(Build(doc).Texts(), row.pages);
    }
}

TEST(PageBreaks, SpareLinesAreNeverDrawn)
{
    Document doc = DeviceDocument();
    doc.Root.Title = BlockOf({TextLine("title")});
    doc.Root.SpareLines = BlockOf({TextLine("spare")});
    doc.Root.Summary = BlockOf({TextLine("summary")});
    Built b = Build(doc);
    EXPECT_EQ(b.Texts(), Pages({"title|summary"}));
    EXPECT_EQ(b.Progress, std::vector<int>({50, 100}));
}

TEST(RichText, ContinuesOverThreePagesUnderRepeatedHeaders)
{
    // 150 paragraphs of 12-point text, about 29 units a line at the page zoom: three pages.
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    for (int i = 1; i <= 150; ++i)
        rtf += "P" + QByteArray::number(i) + "\\par ";
    rtf += "}";
    Document doc = DeviceDocument();
    doc.Root.ColumnHeader = BlockOf({TextLine("H")});
    Record intro, body;
    intro.Title = BlockOf({TextLine("intro")});
    body.Title = BlockOf({LineOf({TextAt(100, 1200, rtf, 7)})});
    body.Summary = BlockOf({TextLine("after")});
    doc.Root.Items = {intro, body};
    Built b = Build(doc);
    ASSERT_GE(b.Pages.size(), 3u);
    std::map<QString, int> seen; // paragraph -> page
    for (size_t i = 0; i < b.Pages.size(); ++i) {
        const PageRecords page = b.Records(i);
        EXPECT_EQ(page.Texts.front().Text, "H") << "page " << i + 1;
        for (const TextRun &t : page.Texts) {
            if (t.Text.startsWith(u'P') && t.Visible()) {
                EXPECT_FALSE(seen.count(t.Text)) << t.Text.toStdString() << " drawn twice";
                seen[t.Text] = int(i);
                // Continued pieces start right under the repeated header.
                EXPECT_GE(t.Top, 24);
            }
        }
    }
    ASSERT_EQ(seen.size(), 150u);
    EXPECT_LT(seen["P1"], seen["P150"]);
    std::set<int> pagesWithText;
    for (const auto &[text, page] : seen)
        pagesWithText.insert(page);
    EXPECT_EQ(pagesWithText.size(), 3u);
    // The summary comes after the last piece, on its page.
    EXPECT_TRUE(b.Texts().back().endsWith("|after"));
    EXPECT_EQ(seen["P150"], int(b.Pages.size()) - 1);
}

TEST(PageBreaks, DeeplyNestedRecordsAreLaidOut)
{
    // As deep as the reader allows: the record walk recurses once a level.
    BodyWriter w(7);
    Document doc = DeviceDocument();
    w.Globals(doc).Styles(doc);
    Record leaf;
    leaf.Title = BlockOf({TextLine("leaf")});
    const int levels = 3000;
    for (int i = 0; i < levels; ++i)
        w.RecordHead({.ColumnHeader = BlockOf({TextLine("h")})}, 1);
    w.RecordTree(leaf);
    for (int i = 0; i < levels; ++i)
        w.RecordTail({});
    TMLineWydruk model;
    ReadBodyBytes(w.Body(), model);
    model.BuildPages();
    EXPECT_GE(model.Pages().FinishedPages.size(), 3000u / 83);
    EXPECT_EQ(ReadPage(*model.Pages().FinishedPages.back()).Texts.back().Text, "leaf");
}
