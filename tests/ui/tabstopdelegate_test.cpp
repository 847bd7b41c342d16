// The list line with one tab stop that the library's list and the chooser's file list share: where
// the text after a tab starts, and how tall a line is.
#include "ui/TabStopDelegate.h"

#include <QListWidget>
#include <gtest/gtest.h>

TEST(TabStopDelegate, TheTextAfterATabStartsAtTheNextMultipleOfTheStop)
{
    const struct {
        int x, stop, expected;
    } rows[] = {
        {0, 80, 80},                   // an empty name: the first stop
        {79, 80, 80},  {80, 80, 160},  // text ending on a stop moves on to the next one, as a list box's does
        {81, 80, 160}, {250, 80, 320}, // a name past the first stop: the date at the next
        {-5, 80, 80},  {7, 4, 8},      // no room for a stop: tabs as wide as a space
    };
    for (const auto &row : rows)
        EXPECT_EQ(NextTabStop(row.x, row.stop), row.expected) << row.x << " / " << row.stop;
}

TEST(TabStopDelegate, ALineIsExactlyItsHeightOrAtLeastTheFontsLine)
{
    QListWidget list;
    QFont big = list.font();
    big.setPixelSize(40);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.font = big;
    option.fontMetrics = QFontMetrics(big);
    const int fontLine = option.fontMetrics.height() + 2;
    ASSERT_GT(fontLine, 18);
    const struct {
        const char *name;
        TTabStopDelegate::RowHeight rule;
        int height, expected;
    } rows[] = {
        {"exact, whatever the font", TTabStopDelegate::RowHeight::Exact, 18, 18},
        {"at least, grown to the font", TTabStopDelegate::RowHeight::AtLeast, 16, fontLine},
        {"at least, taller than the font", TTabStopDelegate::RowHeight::AtLeast, fontLine + 10, fontLine + 10},
    };
    for (const auto &row : rows) {
        TTabStopDelegate delegate(row.rule, row.height, nullptr);
        EXPECT_EQ(delegate.sizeHint(option, QModelIndex()).height(), row.expected) << row.name;
    }
}
