#include "view/JumpGlyphs.h"
#include "view/ViewerGeometry.h"

#include <gtest/gtest.h>

TEST(NearestRatio, RoundsHalvesToTheEvenNeighbour)
{
    struct Row {
        const char *name;
        qint64 num, den, expected;
    } rows[] = {
        {"below half", 14, 10, 1},
        {"above half", 16, 10, 2},
        {"half to even down", 25, 10, 2},
        {"half to even up", 35, 10, 4},
        {"negative half to even", -25, 10, -2},
        {"negative above half", -26, 10, -3},
        {"negative denominator", 35, -10, -4},
        {"exact", 300, 3, 100},
    };
    for (const Row &r : rows)
        EXPECT_EQ(NearestRatio(r.num, r.den), r.expected) << r.name;
}

TEST(PageSizeForZoom, EdgeCases)
{
    struct Row {
        const char *name;
        TEmfZoomLevel level;
        int cw, ch, margLeft, margRight, pw, ph;
    } rows[] = {
        // 245 * 297/210 = 346.5 exactly: a rounding that adds 0.5 and truncates would give 347.
        {"height half rounds down to even", zoomPageW, 257, 300, 5, 5, 245, 346},
        {"height half rounds up to even", zoomPageW, 187, 300, 5, 5, 175, 248},
        {"zoomTextW follows the margins", zoomTextW, 600, 400, 20, 5, 675, 955},
        {"extra levels ignore the margins", zoomExtra1, 600, 400, 20, 5, 800, 1131},
        // Regression: margins that cover the whole sheet made the text-width formula divide by zero.
        {"margins leave no text area", zoomTextW, 600, 400, 105, 105, 588, 832},
        {"margins wider than the sheet", zoomTextW, 600, 400, 200, 100, 588, 832},
        {"collapsed view keeps a 1-pixel page", zoomPageW, 0, 0, 5, 5, 1, 1},
        {"collapsed view at page height", zoomPageH, 0, 5, 5, 5, 1, 1},
    };
    for (const Row &r : rows) {
        const TPageSize size = PageSizeForZoom(r.level, r.cw, r.ch, r.margLeft, r.margRight);
        EXPECT_EQ(size.Width, r.pw) << r.name;
        EXPECT_EQ(size.Height, r.ph) << r.name;
    }
}

TEST(VisiblePages, OnlyPagesThatReachIntoTheView)
{
    // Page height 832 (pitch 842) in a view 400 pixels high, 10 pages: strip rows 5-837, 847-1679, ...
    struct Row {
        const char *name;
        qint64 v;
        int count, first, visible;
        qint64 top;
    } rows[] = {
        {"top of the strip", 0, 10, 0, 1, 5},
        {"the gap's first rows still count as page 0", 4, 10, 0, 1, 1},
        {"next page's top just below the view", 447, 10, 0, 1, -442},
        {"next page's top on the last row", 448, 10, 0, 2, -443},
        {"first page gone once its slot is passed", 847, 10, 1, 1, 0},
        {"one row earlier it is still the first", 846, 10, 0, 2, -841},
        {"last page: the list ends the loop", 8020, 10, 9, 1, -437},
        {"no pages", 0, 0, 0, 0, 5},
        {"strip shorter than the view", 0, 1, 0, 1, 5},
    };
    for (const Row &r : rows) {
        const TVisiblePages pages = VisiblePages(r.v, 832, 400, r.count);
        EXPECT_EQ(pages.First, r.first) << r.name;
        EXPECT_EQ(pages.Count, r.visible) << r.name;
        EXPECT_EQ(pages.Top, r.top) << r.name;
    }
    // Deep in a long strip only the pages around the view count: 593 * 842 = 499306.
    const TVisiblePages deep = VisiblePages(500'000, 832, 400, 1'000'000);
    EXPECT_EQ(deep.First, 593);
    EXPECT_EQ(deep.Top, -689);
    EXPECT_EQ(deep.Count, 2);
}

TEST(JumpGlyphs, TrianglesBetweenTwoBars)
{
    // Black pixels per row, or -1 when a pixel is neither black nor white.
    auto blackPerRow = [](const QImage &image) {
        QList<int> counts;
        for (int y = 0; y < image.height(); ++y) {
            int n = 0;
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                n = n < 0 || (c != qRgb(0, 0, 0) && c != qRgb(255, 255, 255)) ? -1 : n + (c == qRgb(0, 0, 0));
            }
            counts.append(n);
        }
        return counts;
    };
    const QImage top = GridHdrTopGlyph();
    EXPECT_EQ(top.size(), QSize(10, 9));
    // Bar, gap, a triangle widening downwards (so pointing up), gap, bar.
    EXPECT_EQ(blackPerRow(top), QList<int>({10, 0, 2, 4, 6, 8, 10, 0, 10}));
    EXPECT_EQ(top.pixel(4, 2), qRgb(0, 0, 0)) << "the apex is centred";
    EXPECT_EQ(GridHdrBottomGlyph(), top.mirrored(false, true));
}
