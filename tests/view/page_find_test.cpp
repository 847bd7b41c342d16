// The preview's find model on its own: pages drawn in memory, the matches it keeps and where.
#include "platform/text/DrawText.h"
#include "view/PageFind.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

using namespace platform;

namespace {

// Draws each line's runs, a line 200 units below the one before; a run is {x, text}.
std::unique_ptr<PageMetafile> Page(const std::vector<std::vector<std::pair<int, QString>>> &lines)
{
    auto page = std::make_unique<PageMetafile>();
    QPainter p(page.get());
    const TFont font = CreateFont(-24, -11, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
    for (size_t i = 0; i < lines.size(); ++i)
        for (const auto &[x, text] : lines[i]) {
            TRect r{x, 100 + int(i) * 200, x + 8000, 300 + int(i) * 200};
            DrawTextEx(&p, font, text, r, DT_NOPREFIX | DT_NOCLIP);
        }
    return page;
}

} // namespace

TEST(PageFind, MatchesWrapAroundAndAreMarkedAndShown)
{
    std::vector<std::unique_ptr<PageMetafile>> pages;
    pages.push_back(Page({{{100, "alfa beta"}}, {{100, "gamma"}, {1000, "ALFA"}}}));
    pages.push_back(Page({{{100, "nic"}}}));
    pages.push_back(Page({{{100, QString(TTextMatcher::kMaxTyped, 'x')}}, {{100, "alfa"}}}));
    TPageFind find;
    find.SetText("alfa", 0);
    EXPECT_TRUE(find.AddPage(*pages[0])) << "the first match found becomes current";
    for (size_t i = 1; i < pages.size(); ++i)
        EXPECT_FALSE(find.AddPage(*pages[i]));
    ASSERT_EQ(find.Count(), 3);

    const struct {
        const char *name;
        int fromPage;
        int moves; // > 0 Next, < 0 Previous
        int current;
        QString line;
    } rows[] = {
        {"first on the page asked for", 0, 0, 0, "alfa beta"},
        {"a page without one: the next page's", 1, 0, 2, "alfa"},
        {"past the last page: the first", 3, 0, 0, "alfa beta"},
        {"the line with blanks between its runs", 0, 1, 1, "gamma ALFA"},
        {"next from the last wraps to the first", 0, 3, 0, "alfa beta"},
        {"previous from the first wraps to the last", 0, -1, 2, "alfa"},
    };
    for (const auto &row : rows) {
        find.SetText("alfa", row.fromPage);
        for (int i = 0; i < std::abs(row.moves); ++i)
            EXPECT_TRUE(row.moves > 0 ? find.Next() : find.Previous());
        ASSERT_EQ(find.Current(), row.current) << row.name;
        const int page = find.Found(find.Current()).Page;
        EXPECT_EQ(find.CurrentLine(*pages[size_t(page)]), row.line) << row.name;
        const QList<TPageMark> marks = find.Marks(page, *pages[size_t(page)]);
        int current = 0;
        for (const TPageMark &mark : marks) {
            EXPECT_FALSE(mark.Rect.isEmpty()) << row.name;
            current += mark.Current ? 1 : 0;
        }
        EXPECT_EQ(current, 1) << row.name << ": the current match's mark stands out";
        EXPECT_EQ(find.CurrentRect(*pages[size_t(page)]), marks[find.Current() == 1 ? 1 : 0].Rect) << row.name;
    }
    EXPECT_EQ(find.Marks(1, *pages[1]).size(), 0);

    // Typed text longer than the limit is cut to it, so the line as long as the limit is found.
    find.SetText(QString(TTextMatcher::kMaxTyped + 10, 'x'), 0);
    ASSERT_EQ(find.Count(), 1);
    EXPECT_EQ(find.Found(0).Page, 2);
    find.SetText(" ", 0);
    EXPECT_FALSE(find.Next()) << "blanks find nothing";
}
