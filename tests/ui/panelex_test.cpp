// The extended panel: moving and sizing by the mouse with MinWidth, hit-test and cursor hooks,
// non-client clicks, the word-wrapped second caption and AutoHeight, edit-control line breaking.
#include "ui/bajery.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct PanelFixture {
    QWidget parent;
    TPanelEx *panel;
    PanelFixture()
    {
        parent.resize(600, 300);
        panel = new TPanelEx(&parent);
        panel->setGeometry(50, 50, 200, 60);
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent)); // pointer events need a mapped window
    }
    // Right edge sizes, left 5 pixels size from the left, the top 10 pixels move the panel.
    void EdgesAndCaption()
    {
        panel->OnHitTest = [](TPanelEx *p, int x, int y, int &code) {
            if (x >= p->width() - 5)
                code = HTRIGHT;
            else if (x < 5)
                code = HTLEFT;
            else if (y < 10)
                code = HTCAPTION;
        };
    }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(panel, Qt::LeftButton, {}, from);
        // Positions are panel coordinates at press time; the panel moves under the pointer.
        QTest::mouseMove(panel, to);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, panel->mapFromGlobal(panel->mapToGlobal(to)));
    }
};

} // namespace

TEST(PanelEx, SizingStopsAtMinWidth)
{
    PanelFixture f;
    f.EdgesAndCaption();
    f.panel->SetMinWidth(100);
    QRect reported;
    int exits = 0;
    f.panel->OnPanelResize = [&](TPanelEx *, QRect &r) { reported = r; };
    f.panel->OnExitSizeMove = [&](TPanelEx *) { ++exits; };
    f.Drag(QPoint(198, 30), QPoint(18, 30)); // 180 pixels to the left
    EXPECT_EQ(reported.width(), 100) << "the dragged rectangle is clamped before the hook sees it";
    EXPECT_EQ(f.panel->geometry(), QRect(50, 50, 100, 60));
    EXPECT_EQ(exits, 1);
}

TEST(PanelEx, SizingFromTheLeftKeepsTheRightEdge)
{
    PanelFixture f;
    f.EdgesAndCaption();
    f.panel->SetMinWidth(100);
    f.Drag(QPoint(2, 30), QPoint(182, 30));
    EXPECT_EQ(f.panel->geometry(), QRect(150, 50, 100, 60));
}

TEST(PanelEx, EndOfMoveWidensANarrowPanelBack)
{
    PanelFixture f;
    f.EdgesAndCaption();
    f.panel->resize(60, 60); // narrower than allowed, set by code
    f.panel->SetMinWidth(100);
    QRect moved;
    f.panel->OnPanelMove = [&](TPanelEx *, QRect &r) { moved = r; };
    f.Drag(QPoint(30, 3), QPoint(40, 13));
    EXPECT_EQ(moved.topLeft(), QPoint(60, 60));
    EXPECT_EQ(f.panel->geometry(), QRect(60, 60, 100, 60));
}

TEST(PanelEx, NonClientClicksReachTheirHooks)
{
    PanelFixture f;
    f.EdgesAndCaption();
    int ups = 0, doubles = 0;
    f.panel->OnNCLMouseUp = [&](TPanelEx *) { ++ups; };
    f.panel->OnNCLMouseDblClk = [&](TPanelEx *) { ++doubles; };
    QTest::mouseClick(f.panel, Qt::LeftButton, {}, QPoint(100, 3));
    EXPECT_EQ(ups, 1) << "after the (empty) move";
    QTest::mouseDClick(f.panel, Qt::LeftButton, {}, QPoint(100, 3));
    EXPECT_EQ(doubles, 1);
    QTest::mouseClick(f.panel, Qt::LeftButton, {}, QPoint(100, 40)); // client area
    QTest::mouseDClick(f.panel, Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_EQ(doubles, 1);
}

namespace {
class PressCounter : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};
} // namespace

TEST(PanelEx, TransparentHitTestLetsTheParentDecide)
{
    PressCounter parent;
    parent.resize(300, 200);
    auto *panel = new TPanelEx(&parent);
    panel->setGeometry(10, 10, 100, 50);
    parent.show();
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(parent.presses, 0) << "the client area is the panel's own";
    panel->OnHitTest = [](TPanelEx *, int, int, int &code) { code = HTTRANSPARENT; };
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(parent.presses, 1);
}

TEST(PanelEx, SetCursorHookChoosesTheCursor)
{
    PanelFixture f;
    f.panel->setCursor(Qt::PointingHandCursor);
    f.EdgesAndCaption();
    QTest::mouseMove(f.panel, QPoint(198, 30));
    EXPECT_EQ(f.panel->cursor().shape(), Qt::SizeHorCursor) << "normal handling of a border";
    f.panel->OnSetCursor = [](TPanelEx *, int code, std::optional<Qt::CursorShape> &cursor) {
        if (code == HTCAPTION)
            cursor = Qt::SizeAllCursor;
    };
    QTest::mouseMove(f.panel, QPoint(100, 3));
    EXPECT_EQ(f.panel->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(f.panel, QPoint(100, 40));
    EXPECT_EQ(f.panel->cursor().shape(), Qt::PointingHandCursor) << "the panel's own cursor comes back";
}

TEST(PanelEx, AutoHeightFitsTheWrappedSecondCaption)
{
    QWidget parent;
    auto *panel = new TPanelEx(&parent);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    panel->setFont(font);
    const QFontMetrics fm(font);
    panel->SetBorderWidth(3);
    // Room for one "WWWW" but not for two: three lines.
    panel->resize(fm.horizontalAdvance(QStringLiteral("WWWW WWWW")) - 1 + 6, 10);
    panel->SetAutoHeight(true);
    panel->SetCaption2(QStringLiteral("WWWW WWWW WWWW"));
    EXPECT_EQ(panel->height(), 3 * fm.height() + 6);
    panel->SetCaption2(QStringLiteral("WWWW"));
    EXPECT_EQ(panel->height(), fm.height() + 6);
    panel->SetAutoHeight(false);
    panel->SetCaption2(QStringLiteral("WWWW WWWW WWWW"));
    EXPECT_EQ(panel->height(), fm.height() + 6) << "without AutoHeight the height stays";
}

TEST(PanelEx, PaintHooksRunAroundThePainting)
{
    TPanelEx panel;
    panel.resize(80, 40);
    panel.SetColor(QColor(0, 0, 200));
    panel.SetBevelOuter(TPanelBevel::None);
    int after = 0;
    panel.OnBeforePaint = [](TPanelEx *, QPainter &, bool &normally) { normally = false; };
    panel.OnAfterPaint = [&](TPanelEx *, QPainter &canvas) {
        ++after;
        canvas.fillRect(0, 0, 4, 4, Qt::red);
    };
    const QImage image = panel.grab().toImage();
    EXPECT_GE(after, 1);
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(40, 20)), QColor(0, 0, 200)) << "erased, even without normal painting";
}

struct WrapCase {
    const char *name;
    QString text;
    QStringList lines;
};

class EditControlWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(EditControlWrap, BreaksLikeAnEditControl)
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(10);
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(QStringLiteral("abcdefghij")); // ten cells
    EXPECT_EQ(WrapEditControl(GetParam().text, fm, width), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditControlWrap,
    ::testing::Values(
        WrapCase{"FitsOnOneLine", QStringLiteral("abc def"), {QStringLiteral("abc def")}},
        WrapCase{"BreaksAtTheLastBlankThatFits",
                 QStringLiteral("abc def ghi"),
                 {QStringLiteral("abc def"), QStringLiteral("ghi")}},
        WrapCase{"CrLfAndCrAndLfBreak",
                 QStringLiteral("a\r\nb\rc\nd"),
                 {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}},
        WrapCase{"EmptyLinesStay", QStringLiteral("a\n\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        WrapCase{"LongWordBreaksInside",
                 QStringLiteral("abcdefghijklmnopqrstuvwxy"),
                 {QStringLiteral("abcdefghij"), QStringLiteral("klmnopqrst"), QStringLiteral("uvwxy")}},
        WrapCase{"BlanksAtTheBreakAreDropped",
                 QStringLiteral("abcdefgh     xyz"),
                 {QStringLiteral("abcdefgh"), QStringLiteral("xyz")}}),
    [](const auto &row) { return std::string(row.param.name); });
