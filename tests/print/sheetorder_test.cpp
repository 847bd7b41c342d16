#include "print/PrintGeometry.h"
#include "print/SheetOrder.h"

#include <gtest/gtest.h>

namespace {

// "1 2 3" for whole sides, "(1,2) (3,4)" for halves; passes joined with " / ".
QString Describe(const QList<TPass> &passes)
{
    QStringList out;
    for (const TPass &pass : passes) {
        QStringList sides;
        for (const TSheetSide &s : pass)
            sides << (s.Right ? QStringLiteral("(%1,%2)").arg(s.Left).arg(s.Right) : QString::number(s.Left));
        out << sides.join(QLatin1Char(' '));
    }
    return out.join(QStringLiteral(" / "));
}

} // namespace

TEST(SheetOrder, EightPositionsGoInTheWorkedOrders)
{
    using M = TPrintMode;
    const struct Row {
        M mode;
        bool twoSided, reverse;
        const char *order;
    } rows[] = {
        {M::Normalne, false, false, "1 2 3 4 5 6 7 8"},
        {M::Normalne, false, true, "8 7 6 5 4 3 2 1"},
        {M::Normalne, true, false, "2 4 6 8 / 1 3 5 7"},
        {M::Normalne, true, true, "2 4 6 8 / 7 5 3 1"},
        {M::Zmniejszone, false, false, "(1,2) (3,4) (5,6) (7,8)"},
        {M::Zmniejszone, false, true, "(7,8) (5,6) (3,4) (1,2)"},
        {M::Zmniejszone, true, false, "(3,4) (7,8) / (1,2) (5,6)"},
        {M::Zmniejszone, true, true, "(3,4) (7,8) / (5,6) (1,2)"},
        {M::Ksiazeczka, false, false, "(2,7) (4,5) / (8,1) (6,3)"},
        {M::Ksiazeczka, false, true, "(2,7) (4,5) / (6,3) (8,1)"},
        // The duplex box changes nothing in a booklet.
        {M::Ksiazeczka, true, false, "(2,7) (4,5) / (8,1) (6,3)"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Describe(PrintPasses(r.mode, r.twoSided, r.reverse, 8)), QString::fromUtf8(r.order))
            << int(r.mode) << r.twoSided << r.reverse;
}

TEST(SheetOrder, SelectionsArePaddedToWholeSheets)
{
    using M = TPrintMode;
    const struct Row {
        M mode;
        bool twoSided;
        int pages, padded;
    } rows[] = {
        {M::Normalne, false, 5, 5},   {M::Normalne, true, 1, 2},      {M::Zmniejszone, false, 5, 6},
        {M::Zmniejszone, true, 5, 8}, {M::Ksiazeczka, false, 41, 44}, {M::Ksiazeczka, false, 40, 40},
    };
    for (const Row &r : rows) {
        PageSelection selection;
        for (int p = 1; p <= r.pages; ++p)
            selection << p;
        PadSelection(selection, r.mode, r.twoSided);
        ASSERT_EQ(selection.size(), r.padded) << int(r.mode) << r.pages;
        EXPECT_EQ(selection.count(0), r.padded - r.pages);
        EXPECT_EQ(selection.mid(0, r.pages).count(0), 0);
    }
}

TEST(SheetOrder, JoinedSidesPrintOnTwoSidedPrinters)
{
    using M = TPrintMode;
    const struct Row {
        M mode;
        bool reverse;
        int n;
        const char *sides;
    } rows[] = {
        {M::Ksiazeczka, false, 8, "(8,1) (2,7) (6,3) (4,5)"},
        {M::Ksiazeczka, true, 8, "(6,3) (4,5) (8,1) (2,7)"},
        {M::Ksiazeczka, false, 4, "(4,1) (2,3)"},
        {M::Zmniejszone, false, 8, "(1,2) (3,4) (5,6) (7,8)"},
        {M::Zmniejszone, true, 8, "(5,6) (7,8) (1,2) (3,4)"},
        {M::Normalne, true, 4, "3 4 1 2"},
        {M::Normalne, true, 3, "3 1 2"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Describe({JoinedSides(r.mode, r.reverse, r.n)}), QString::fromUtf8(r.sides)) << int(r.mode) << r.n;
}

TEST(PrintGeometry, MarginsBecomePixelsAndMirrorForTheFirstPass)
{
    // A4 at 600 pixels per inch, printable area 100 pixels in from the corner.
    const platform::TDeviceCaps caps{4960, 7016, 100, 120, 600, 600};
    const TMarginsMm margins{30, 20, 10, 15};
    const TPrintJobGeometry one = ComputeGeometry(caps, margins, false);
    // 30 and 10 mm at 600 dpi are 709 and 236 pixels; 20 and 15 mm 472 and 354.
    EXPECT_EQ(one.Full, QRect(QPoint(709 - 100, 472 - 120), QPoint(4960 - 100 - 236 - 1, 7016 - 120 - 354 - 1)));
    EXPECT_EQ(one.LeftHalf.left(), one.Full.left());
    EXPECT_EQ(one.LeftHalf.right() + 1, 2480 - 100 - 236);
    EXPECT_EQ(one.RightHalf.left(), 2480 - 100 + 709);
    EXPECT_EQ(one.RightHalf.right(), one.Full.right());
    EXPECT_EQ(one.Shift, 0);

    TPrintJobGeometry two = ComputeGeometry(caps, margins, true);
    EXPECT_EQ(two.Shift, 473);
    EXPECT_EQ(two.Full, one.Full.translated(-473, 0));
    EXPECT_EQ(two.LeftHalf, one.LeftHalf.translated(-473, 0));
    EXPECT_EQ(two.RightHalf, one.RightHalf.translated(-473, 0));
    two.MoveByShift();
    EXPECT_EQ(two.Full, one.Full);
}
