#include "platform/metafile/PageMetafile.h"
#include "tests/support/PaintCounter.h"
#include "view/EmfViewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>
using platform::PageMetafile;
using wydtest::PaintCounter;

namespace {

bool IsModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt;
}

// A parent that records the keys the viewer passes on (QTest presses modifiers as keys of their own:
// those are left out).
class KeySink : public QWidget {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!IsModifierKey(event->key()))
            keys.append(event->key());
    }
};

// Records the keys the viewer's key handler is left with, modifiers aside.
TEmfViewer::TKeyEvent Recorder(std::vector<int> &seen)
{
    return [&seen](int &key, Qt::KeyboardModifiers) {
        if (!IsModifierKey(key))
            seen.push_back(key);
    };
}

// A page that counts its destructions, to see who frees pages.
class CountedPage : public PageMetafile {
public:
    explicit CountedPage(int *destroyed) : destroyed_(destroyed) {}
    ~CountedPage() override { ++*destroyed_; }

private:
    int *destroyed_;
};

// A viewer whose client area is exactly cw x ch pixels, whatever the style's scroll-bar width.
class ViewerTest : public ::testing::Test {
protected:
    KeySink parent;
    TEmfViewer *viewer = new TEmfViewer(&parent);
    std::vector<std::unique_ptr<PageMetafile>> pages;
    int moves = 0;
    int zooms = 0;
    int changes = 0;

    void SetUp() override
    {
        viewer->OnMove = [this] { ++moves; };
        viewer->OnZoom = [this] { ++zooms; };
        viewer->OnChange = [this] { ++changes; };
    }

    void Open(int cw, int ch, int pageCount)
    {
        parent.resize(cw + viewer->ScrollBarWidth(), ch);
        viewer->setGeometry(0, 0, cw + viewer->ScrollBarWidth(), ch);
        parent.show();
        for (int i = 0; i < pageCount; ++i)
            AddPage();
        moves = zooms = changes = 0;
    }

    void AddPage()
    {
        pages.push_back(std::make_unique<PageMetafile>());
        viewer->AddPage(pages.back().get());
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(viewer, Qt::Key(key), modifiers);
    }

    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPointF pos = QPointF(100, 100))
    {
        QWheelEvent event(pos, viewer->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewer, &event);
    }

    QScrollBar *Bar(Qt::Orientation orientation)
    {
        for (QScrollBar *bar : viewer->findChildren<QScrollBar *>())
            if (bar->orientation() == orientation)
                return bar;
        return nullptr;
    }

    void Press(Qt::MouseButton button, QPoint pos) { QTest::mousePress(viewer, button, {}, pos); }
    void Move(QPoint pos) { QTest::mouseMove(viewer, pos); }
    void Release(Qt::MouseButton button, QPoint pos) { QTest::mouseRelease(viewer, button, {}, pos); }

    QImage Grab() { return viewer->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QRgb Silver()
{
    return qRgb(192, 192, 192);
}

bool IsBlack(QRgb c)
{
    return c == qRgb(0, 0, 0);
}

bool IsRedText(QRgb c)
{
    return qRed(c) > 160 && qGreen(c) < 140 && qBlue(c) < 140;
}

} // namespace

TEST_F(ViewerTest, CreationDefaultsAndTheRightHandColumn)
{
    EXPECT_EQ(viewer->ZoomLevel(), zoomPageW);
    EXPECT_EQ(QList<int>({viewer->MargLeft(), viewer->MargRight(), viewer->MargTop(), viewer->MargBottom()}),
              QList<int>({5, 5, 5, 10}));
    EXPECT_TRUE(viewer->ShowPageNr());
    EXPECT_FALSE(viewer->ShowMarg());
    Open(600, 400, 0);
    const int sbw = viewer->ScrollBarWidth();
    const auto buttons = viewer->findChildren<QToolButton *>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->geometry(), QRect(600, 0, sbw, 15));
    EXPECT_EQ(buttons[1]->geometry(), QRect(600, 15, sbw, 15));
    EXPECT_EQ(buttons[0]->toolTip(), QString::fromUtf8("Przejście na początek"));
    EXPECT_EQ(buttons[1]->toolTip(), QString::fromUtf8("Przejście na koniec"));
    EXPECT_EQ(buttons[0]->iconSize(), QSize(10, 9));
    QScrollBar *vert = nullptr;
    QScrollBar *horz = nullptr;
    for (QScrollBar *bar : viewer->findChildren<QScrollBar *>())
        (bar->orientation() == Qt::Vertical ? vert : horz) = bar;
    ASSERT_TRUE(vert && horz);
    EXPECT_EQ(vert->geometry(), QRect(600, 30, sbw, 370));
    EXPECT_TRUE(vert->isVisible());
    EXPECT_FALSE(horz->isVisible());
    for (QWidget *child : viewer->findChildren<QWidget *>())
        EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->metaObject()->className();
}

TEST_F(ViewerTest, PageSizeFollowsTheZoomLevel)
{
    Open(600, 400, 3);
    struct Row {
        TEmfZoomLevel level;
        int pw, ph, horzRange, vertRange;
    } rows[] = {
        // Vertical range: 3 pages of PH + 10 minus CH; horizontal: PW + 10 - CW, never below 0.
        {zoomPageH, 276, 390, 0, 800},       {zoomPageAvg, 432, 611, 0, 1463},   {zoomPageW, 588, 832, 0, 2126},
        {zoomTextW, 624, 883, 34, 2279},     {zoomExtra1, 800, 1131, 210, 3023}, {zoomExtra2, 1000, 1414, 410, 3872},
        {zoomExtra3, 1200, 1697, 610, 4721},
    };
    for (const Row &r : rows) {
        viewer->SetZoomLevel(r.level);
        EXPECT_EQ(viewer->PageWidth(), r.pw) << "level " << r.level;
        EXPECT_EQ(viewer->PageHeight(), r.ph) << "level " << r.level;
        EXPECT_EQ(viewer->HorzRange(), r.horzRange) << "level " << r.level;
        EXPECT_EQ(viewer->VertRange(), r.vertRange) << "level " << r.level;
    }
    EXPECT_EQ(zooms, 7) << "one event per change";
    viewer->SetZoomLevel(zoomExtra3);
    EXPECT_EQ(zooms, 7) << "setting the same level is no change";
}

TEST_F(ViewerTest, ZoomStepsStopAtBothEnds)
{
    Open(600, 400, 3);
    for (int i = 0; i < 6; ++i)
        viewer->ZoomIn();
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra3);
    EXPECT_EQ(zooms, 4);
    for (int i = 0; i < 9; ++i)
        viewer->ZoomOut();
    EXPECT_EQ(viewer->ZoomLevel(), zoomPageH);
    EXPECT_EQ(zooms, 10);
}

TEST_F(ViewerTest, ZoomKeepsTheRelativePlaceAndSetsTheHorizontalOffset)
{
    Open(600, 400, 3);
    viewer->SetPageNr(2); // V = 842
    viewer->SetZoomLevel(zoomTextW);
    // 842 / 2126 * 2279 = 902.6; H = nearest(624 * 5/210) + 3 puts the text area 2 px from the edge.
    EXPECT_EQ(viewer->VertPos(), 903);
    EXPECT_EQ(viewer->HorzPos(), 18);
    viewer->SetZoomLevel(zoomExtra1);
    // 18 / 34 * 210 = 111.18; 903 / 2279 * 3023 = 1197.78
    EXPECT_EQ(viewer->HorzPos(), 111);
    EXPECT_EQ(viewer->VertPos(), 1198);
    viewer->SetZoomLevel(zoomPageW);
    EXPECT_EQ(viewer->HorzPos(), 0);
    EXPECT_EQ(viewer->VertPos(), 843); // 1198 / 3023 * 2126 = 842.52
}

TEST_F(ViewerTest, KeysScrollAndReportThePage)
{
    Open(600, 400, 10); // zoomPageW: PH 832, pitch 842, range 8020
    struct Step {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
        int v, pageNr;
    } steps[] = {
        {"Page Down moves one view height", Qt::Key_PageDown, Qt::NoModifier, 400, 1},
        {"keypad 3 is Page Down", Qt::Key_3, Qt::KeypadModifier, 800, 2},
        {"Down moves a line", Qt::Key_Down, Qt::NoModifier, 830, 2},
        {"keypad 2 is Down", Qt::Key_2, Qt::KeypadModifier, 860, 2},
        {"Up", Qt::Key_Up, Qt::NoModifier, 830, 2},
        {"keypad 8 is Up", Qt::Key_8, Qt::KeypadModifier, 800, 2},
        {"Page Up", Qt::Key_PageUp, Qt::NoModifier, 400, 1},
        {"End goes to the last page", Qt::Key_End, Qt::NoModifier, 8020, 10},
        {"Shift+Home does nothing", Qt::Key_Home, Qt::ShiftModifier, 8020, 10},
        {"Alt+Page Up does nothing", Qt::Key_PageUp, Qt::AltModifier, 8020, 10},
        {"Page Down at the end stays", Qt::Key_PageDown, Qt::NoModifier, 8020, 10},
        {"keypad 9 is Page Up", Qt::Key_9, Qt::KeypadModifier, 7620, 10}, // centre 7820: page 10 starts at 7583
        {"Home goes to the first page", Qt::Key_Home, Qt::NoModifier, 0, 1},
        {"keypad 1 is End", Qt::Key_1, Qt::KeypadModifier, 8020, 10},
        {"keypad 7 is Home", Qt::Key_7, Qt::KeypadModifier, 0, 1},
        {"Up at the top stays", Qt::Key_Up, Qt::NoModifier, 0, 1},
        {"a digit off the keypad does nothing", Qt::Key_3, Qt::NoModifier, 0, 1},
    };
    for (const Step &s : steps) {
        Key(s.key, s.modifiers);
        EXPECT_EQ(viewer->VertPos(), s.v) << s.name;
        EXPECT_EQ(viewer->PageNr(), s.pageNr) << s.name;
    }
    EXPECT_EQ(moves, 12) << "one event per key that changed the position";
}

TEST_F(ViewerTest, WheelMoves90PixelsANotch)
{
    Open(600, 400, 10);
    Wheel(-120); // towards the user: further down
    EXPECT_EQ(viewer->VertPos(), 90);
    Wheel(-40); // a third of a notch: 30 pixels
    EXPECT_EQ(viewer->VertPos(), 120);
    for (int i = 0; i < 9; ++i)
        Wheel(-120);
    EXPECT_EQ(viewer->VertPos(), 930);
    EXPECT_EQ(viewer->PageNr(), 2); // centre at 1130: page 2 starts at 847
    Wheel(360);
    EXPECT_EQ(viewer->VertPos(), 660);
    Wheel(1200);
    EXPECT_EQ(viewer->VertPos(), 0);
    EXPECT_EQ(moves, 13);
}

TEST_F(ViewerTest, HorizontalKeysOnlyAtTheExtraLevelsButAlwaysConsumed)
{
    Open(600, 400, 3);
    std::vector<int> seen;
    viewer->OnKeyDown = Recorder(seen);
    struct Step {
        const char *name;
        TEmfZoomLevel level;
        int key;
        Qt::KeyboardModifiers modifiers;
        int h;
    } steps[] = {
        {"Right at zoomPageW", zoomPageW, Qt::Key_Right, Qt::NoModifier, 0},
        {"Ctrl+End at zoomTextW", zoomTextW, Qt::Key_End, Qt::ControlModifier, 18},
        {"keypad 6 at zoomTextW", zoomTextW, Qt::Key_6, Qt::KeypadModifier, 18},
        {"Right at zoomExtra1", zoomExtra1, Qt::Key_Right, Qt::NoModifier, 141}, // 18/34*210 = 111, +30
        {"keypad 4 at zoomExtra1", zoomExtra1, Qt::Key_4, Qt::KeypadModifier, 111},
        {"Left", zoomExtra1, Qt::Key_Left, Qt::NoModifier, 81},
        {"Ctrl+End", zoomExtra1, Qt::Key_End, Qt::ControlModifier, 210},
        {"Right at the end", zoomExtra1, Qt::Key_Right, Qt::NoModifier, 210},
        {"Ctrl+Home", zoomExtra1, Qt::Key_Home, Qt::ControlModifier, 0},
    };
    for (const Step &s : steps) {
        viewer->SetZoomLevel(s.level);
        const int v = viewer->VertPos();
        Key(s.key, s.modifiers);
        EXPECT_EQ(viewer->HorzPos(), s.h) << s.name;
        EXPECT_EQ(viewer->VertPos(), v) << s.name << ": Ctrl+Home/End leave the vertical place";
    }
    EXPECT_TRUE(parent.keys.isEmpty()) << "scroll keys never reach the parent";
    EXPECT_EQ(seen, std::vector<int>(std::size(steps), 0)) << "the key handler sees them consumed";
}

TEST_F(ViewerTest, KeypadZoomKeysAreNotConsumed)
{
    Open(600, 400, 3);
    std::vector<int> seen;
    viewer->OnKeyDown = Recorder(seen);
    struct Step {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
        TEmfZoomLevel level;
    } steps[] = {
        {"keypad + zooms in", Qt::Key_Plus, Qt::KeypadModifier, zoomTextW},
        {"+ off the keypad does nothing", Qt::Key_Plus, Qt::NoModifier, zoomTextW},
        {"Shift with keypad + does nothing", Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier, zoomTextW},
        {"keypad - zooms out", Qt::Key_Minus, Qt::KeypadModifier, zoomPageW},
        {"keypad / fits the page height", Qt::Key_Slash, Qt::KeypadModifier, zoomPageH},
        {"keypad * fits the page width", Qt::Key_Asterisk, Qt::KeypadModifier, zoomPageW},
    };
    for (const Step &s : steps) {
        Key(s.key, s.modifiers);
        EXPECT_EQ(viewer->ZoomLevel(), s.level) << s.name;
    }
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Slash,
                                      Qt::Key_Asterisk}));
    EXPECT_EQ(parent.keys.size(), 6);

    // The decimal key (a comma on Polish layouts) snaps to the page under the centre.
    for (int key : {Qt::Key_Comma, Qt::Key_Period}) {
        viewer->SetPageNr(2);
        Key(Qt::Key_Down); // V = 872: the centre lies on page 2, whose slot starts at 842
        Key(key, Qt::KeypadModifier);
        EXPECT_EQ(viewer->VertPos(), 842) << "decimal key " << key;
    }
}

TEST_F(ViewerTest, PageNrCanExceedPageCountWhenTheStripIsShort)
{
    // One page 832 pixels high in a 2000-pixel view: the centre (1000) lies in the second slot.
    Open(600, 2000, 1);
    EXPECT_EQ(viewer->VertRange(), 0);
    EXPECT_EQ(viewer->PageNr(), 2);
}

TEST_F(ViewerTest, AddingPagesDoesNotMoveTheView)
{
    Open(600, 400, 1);
    EXPECT_EQ(viewer->VertRange(), 442); // 842 - 400
    struct Step {
        int pages, range;
    } steps[] = {{2, 1284}, {3, 2126}, {4, 2968}};
    for (const Step &s : steps) {
        AddPage();
        EXPECT_EQ(viewer->PageCount(), s.pages);
        EXPECT_EQ(viewer->VertRange(), s.range) << "grows by PH + 10";
        EXPECT_EQ(viewer->VertPos(), 0);
    }
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(moves, 0);
    // Scrolled down, the position stays where it is (no rescaling).
    viewer->SetPageNr(3);
    AddPage();
    EXPECT_EQ(viewer->VertPos(), 1684);
    EXPECT_EQ(viewer->AddPage(nullptr), 5) << "returns the new page's index";
}

// A preview building a long printout stays on its first page: repainting the view (and the
// scroll bar, whose thumb no longer changes) for every page added below cost more than the build.
TEST_F(ViewerTest, PagesAddedBelowTheViewRepaintNothingThatLooksTheSame)
{
    Open(600, 400, 100);
    QCoreApplication::processEvents();
    PaintCounter view(viewer), bar(Bar(Qt::Vertical));
    for (int i = 0; i < 20; ++i) {
        AddPage();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(view.count, 0);
    EXPECT_EQ(bar.count, 0);

    // A page that comes into view is painted.
    viewer->ClearPages();
    QCoreApplication::processEvents();
    view.region = QRegion();
    AddPage();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.region.boundingRect(), viewer->rect());
}

TEST_F(ViewerTest, AtPageHeightPageNrShowsThatPageFromTheTop)
{
    Open(600, 400, 5);
    viewer->SetZoomLevel(zoomPageH); // PH 390: the pitch equals CH
    for (int n = 1; n <= 5; ++n) {
        viewer->SetPageNr(n);
        EXPECT_EQ(viewer->VertPos(), (n - 1) * 400);
        EXPECT_EQ(viewer->PageNr(), n);
        const QImage image = Grab();
        // Page n's top border is row 4, its sheet rows 5 to 394, its bottom border row 395.
        EXPECT_TRUE(IsBlack(image.pixel(200, 4))) << "page " << n;
        EXPECT_EQ(image.pixel(200, 5), qRgb(255, 255, 255)) << "page " << n;
        EXPECT_EQ(image.pixel(200, 394), qRgb(255, 255, 255)) << "page " << n;
        EXPECT_TRUE(IsBlack(image.pixel(200, 395))) << "page " << n;
    }
}

TEST_F(ViewerTest, PageNrOutOfRangeIsClamped)
{
    Open(600, 400, 10);
    struct Row {
        const char *name;
        int n, v;
    } rows[] = {
        {"page 4", 4, 2526},
        {"zero shows the first page", 0, 0},
        {"negative", -3, 0},
        {"past the end shows the last page", 11, 8020},
        {"largest integer", INT_MAX, 8020},
        {"smallest integer", INT_MIN, 0},
    };
    for (const Row &r : rows) {
        viewer->SetPageNr(r.n);
        EXPECT_EQ(viewer->VertPos(), r.v) << r.name;
    }
}

TEST_F(ViewerTest, ZoomOutAtPageHeightSnaps)
{
    Open(600, 400, 5);
    viewer->SetZoomLevel(zoomPageH);
    zooms = moves = 0;
    QTest::keyClick(viewer, Qt::Key_End); // V = 1600
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up); // V = 1510: centre 1710 lies on page 5 (index 4)
    viewer->ZoomOut();
    EXPECT_EQ(viewer->ZoomLevel(), zoomPageH);
    EXPECT_EQ(viewer->VertPos(), 1600);
    EXPECT_EQ(zooms, 0);
    EXPECT_EQ(moves, 5);
    viewer->SetPageNr(3);
    Key(Qt::Key_Down); // V = 830: centre 1030 is page 3
    viewer->SetZoomLevel(zoomPageAvg);
    viewer->ZoomOut(); // back to zoomPageH, then the snap
    EXPECT_EQ(viewer->VertPos(), 800);
    EXPECT_EQ(viewer->PageNr(), 3);
}

TEST_F(ViewerTest, ScreenToPageAndBack)
{
    Open(600, 400, 3);
    viewer->SetZoomLevel(zoomExtra1); // PW 800, PH 1131, pitch 1141, ranges 210 and 3023
    Bar(Qt::Horizontal)->setValue(50);
    Bar(Qt::Vertical)->setValue(1000);
    TPagePoint p = viewer->ScreenToPage(100, 200);
    EXPECT_FLOAT_EQ(p.X, 145.0f / 800);     // 100 + H - 5
    EXPECT_FLOAT_EQ(p.Y, 1 + 54.0f / 1131); // 1200 is 59 rows into the second slot, 54 into its page

    viewer->ScrollToPagePoint(100, 200, {0.5f, 2.25f});
    EXPECT_EQ(viewer->HorzPos(), 210) << "400 + 5 - 100 = 305, clamped to the range";
    EXPECT_EQ(viewer->VertPos(), 2370) << "2 * 1141 + 5 + 282.75 rounded - 200";

    for (QPoint at : {QPoint(0, 0), QPoint(321, 17), QPoint(599, 399)}) {
        Bar(Qt::Horizontal)->setValue(77);
        Bar(Qt::Vertical)->setValue(1500);
        viewer->ScrollToPagePoint(at.x(), at.y(), viewer->ScreenToPage(at.x(), at.y()));
        EXPECT_EQ(viewer->HorzPos(), 77) << "a point maps back to itself";
        EXPECT_EQ(viewer->VertPos(), 1500) << "a point maps back to itself";
    }

    // Below zoomExtra1 a page narrower than the view is centred and the horizontal offset stays.
    viewer->SetZoomLevel(zoomPageW);
    p = viewer->ScreenToPage(300 + 5, 5); // c = (600 - 588) div 2 = 6
    EXPECT_FLOAT_EQ(p.X, 294.0f / 588);
    viewer->ScrollToPagePoint(0, 0, {0.9f, 1.5f});
    EXPECT_EQ(viewer->HorzPos(), 0);
    EXPECT_EQ(viewer->VertPos(), 842 + 5 + 416);
}

TEST_F(ViewerTest, LeftClickZoomsInAroundThePointRightClickZoomsOut)
{
    Open(600, 400, 3);
    viewer->SetZoomLevel(zoomExtra1);
    Bar(Qt::Horizontal)->setValue(50);
    Bar(Qt::Vertical)->setValue(1000);
    const QPoint at(100, 200);
    const TPagePoint before = viewer->ScreenToPage(at.x(), at.y());
    QTest::mouseClick(viewer, Qt::LeftButton, {}, at);
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra2); // PW 1000, PH 1414
    EXPECT_EQ(viewer->HorzPos(), 86);           // 181.25 rounded + 5 - 100
    EXPECT_EQ(viewer->VertPos(), 1297);         // 1424 + 5 + 67.5 rounded up - 200
    const TPagePoint after = viewer->ScreenToPage(at.x(), at.y());
    EXPECT_NEAR(after.X, before.X, 1.0 / 1000);
    EXPECT_NEAR(after.Y, before.Y, 1.0 / 1414);

    QTest::mouseClick(viewer, Qt::RightButton, {}, at);
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra1);
    const TPagePoint back = viewer->ScreenToPage(at.x(), at.y());
    EXPECT_NEAR(back.X, before.X, 1.0 / 800);
    EXPECT_NEAR(back.Y, before.Y, 1.0 / 1131);

    QTest::mouseClick(viewer, Qt::MiddleButton, {}, at);
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra1) << "other buttons are ignored";
}

TEST_F(ViewerTest, CtrlWheelZoomsAroundThePointerANotchAtATime)
{
    Open(600, 400, 3);
    viewer->SetZoomLevel(zoomExtra1);
    Bar(Qt::Vertical)->setValue(1000);
    const QPoint at(100, 200);
    const TPagePoint before = viewer->ScreenToPage(at.x(), at.y());
    // A touchpad's small steps add up to one notch.
    Wheel(60, Qt::ControlModifier, at);
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra1);
    Wheel(60, Qt::ControlModifier, at);
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra2);
    const TPagePoint after = viewer->ScreenToPage(at.x(), at.y());
    EXPECT_NEAR(after.X, before.X, 1.0 / 1000);
    EXPECT_NEAR(after.Y, before.Y, 1.0 / 1414);
    Wheel(-120, Qt::ControlModifier, at);
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra1);
}

TEST_F(ViewerTest, DragMovesThreeTimesAsFarAfterTheDeadZone)
{
    Open(600, 400, 10);
    // A press, a wobble of 2 pixels and a release is a click: it zooms in.
    Press(Qt::LeftButton, {300, 200});
    Move({302, 198});
    Release(Qt::LeftButton, {302, 198});
    EXPECT_EQ(viewer->ZoomLevel(), zoomTextW);

    viewer->SetZoomLevel(zoomPageW);
    viewer->SetPageNr(3); // V = 1684
    zooms = 0;
    Press(Qt::LeftButton, {300, 200});
    Move({302, 197}); // 3 pixels up: dragging starts
    EXPECT_EQ(viewer->VertPos(), 1684 + 9);
    Move({302, 187});
    EXPECT_EQ(viewer->VertPos(), 1684 + 39);
    Move({303, 188}); // once dragging, every pixel counts
    EXPECT_EQ(viewer->VertPos(), 1684 + 36);
    EXPECT_EQ(viewer->HorzPos(), 0) << "no horizontal drag below zoomExtra1";
    Release(Qt::LeftButton, {303, 188});
    EXPECT_EQ(zooms, 0) << "a drag is not a click";

    // At the extra levels the drag moves sideways too.
    viewer->SetZoomLevel(zoomExtra1);
    Bar(Qt::Horizontal)->setValue(100);
    const int v = viewer->VertPos();
    Press(Qt::LeftButton, {300, 200});
    Move({290, 200});
    EXPECT_EQ(viewer->HorzPos(), 130);
    EXPECT_EQ(viewer->VertPos(), v);
    Release(Qt::LeftButton, {290, 200});
    EXPECT_EQ(viewer->ZoomLevel(), zoomExtra1);

    // Moving without the button only follows the pointer.
    const int h = viewer->HorzPos();
    Move({10, 10});
    Move({500, 300});
    EXPECT_EQ(viewer->HorzPos(), h);
    EXPECT_EQ(viewer->VertPos(), v);
}

TEST_F(ViewerTest, MarginsRepaintAtPageWidthAndResizeAtTextWidth)
{
    Open(600, 400, 3);
    viewer->SetMargLeft(20);
    EXPECT_EQ(viewer->PageWidth(), 588);
    EXPECT_EQ(viewer->PageHeight(), 832);
    EXPECT_EQ(viewer->HorzPos(), 0);

    viewer->SetZoomLevel(zoomTextW);
    EXPECT_EQ(viewer->PageWidth(), 675); // 600 * 210/185 = 681.08, less 6
    EXPECT_EQ(viewer->HorzPos(), 67);    // 675 * 20/210 = 64.29, plus 3
    viewer->SetMargRight(25);
    EXPECT_EQ(viewer->PageWidth(), 758); // 600 * 210/165 = 763.64, less 6
    EXPECT_EQ(viewer->HorzPos(), 75);    // 758 * 20/210 = 72.19, plus 3
    EXPECT_EQ(zooms, 1);
}

TEST_F(ViewerTest, EmptyViewerIsPlainGrey)
{
    Open(600, 400, 0);
    EXPECT_EQ(viewer->HorzRange(), 0);
    EXPECT_EQ(viewer->VertRange(), 0);
    const QImage image = Grab();
    int other = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            other += image.pixel(x, y) != Silver();
    EXPECT_EQ(other, 0);
    // The rounded corners of the jump buttons show the strip beside the scroll bar: black showed
    // through them when nothing painted it.
    const int right = 600 + viewer->ScrollBarWidth() - 1;
    for (const QPoint corner : {QPoint(600, 0), QPoint(right, 0), QPoint(600, 14), QPoint(right, 14), QPoint(600, 15),
                                QPoint(right, 15), QPoint(600, 29), QPoint(right, 29)})
        EXPECT_EQ(image.pixel(corner), Silver()) << corner.x() << "," << corner.y();
}

class PaintedPageTest : public ViewerTest {
protected:
    // One page, wholly blue, at zoomPageH: sheet (162, 5) to (438, 395), PW 276, PH 390; margins of
    // 7, 7, 7 and 13 pixels put the content at (169, 12) to (431, 382).
    void SetUp() override
    {
        ViewerTest::SetUp();
        pages.push_back(std::make_unique<PageMetafile>());
        {
            QPainter p(pages.back().get());
            p.fillRect(QRect(QPoint(0, 0), pages.back()->Size()), Qt::blue);
        }
        Open(600, 400, 0);
        viewer->AddPage(pages.back().get());
        viewer->SetZoomLevel(zoomPageH);
    }

    int CountRow(const QImage &image, int y, int x0, int x1, QRgb colour)
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += image.pixel(x, y) == colour;
        return n;
    }
};

TEST_F(PaintedPageTest, ShadowBorderAndContent)
{
    const QImage image = Grab();
    struct Probe {
        const char *name;
        int x, y;
        QRgb colour;
    } probes[] = {
        {"left border", 161, 200, qRgb(0, 0, 0)},
        {"right border", 438, 200, qRgb(0, 0, 0)},
        {"top border", 300, 4, qRgb(0, 0, 0)},
        {"bottom border", 300, 395, qRgb(0, 0, 0)},
        {"grey left of the sheet", 160, 200, Silver()},
        {"grey above the sheet", 300, 3, Silver()},
        {"sheet inside the left margin", 162, 200, qRgb(255, 255, 255)},
        {"sheet inside the right margin", 437, 200, qRgb(255, 255, 255)},
        {"sheet below the content", 300, 394, qRgb(255, 255, 255)},
        {"no frame without ShowMarg", 168, 200, qRgb(255, 255, 255)},
        {"shadow right, first column", 439, 200, qRgb(0, 0, 0)},
        {"shadow right, last column", 441, 200, qRgb(0, 0, 0)},
        {"grey right of the shadow", 442, 200, Silver()},
        {"shadow starts 4 rows down", 440, 9, qRgb(0, 0, 0)},
        {"grey beside the sheet's top", 440, 8, Silver()},
        {"shadow below, last row", 300, 398, qRgb(0, 0, 0)},
        {"grey below the shadow", 300, 399, Silver()},
        {"shadow starts 4 columns in", 166, 397, qRgb(0, 0, 0)},
        {"grey under the sheet's left", 165, 397, Silver()},
        {"content top left", 170, 13, qRgb(0, 0, 255)},
        {"content bottom right", 429, 380, qRgb(0, 0, 255)},
    };
    for (const Probe &p : probes)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.name << " at " << p.x << "," << p.y;
}

TEST_F(PaintedPageTest, DottedMarginFrame)
{
    viewer->SetShowMarg(true);
    viewer->SetShowPageNr(false); // the number would cross the frame's top
    const QImage image = Grab();
    // The frame runs one pixel outside the content: rows 11 and 382, columns 168 and 431.
    for (int y : {11, 382}) {
        const int silver = CountRow(image, y, 168, 431, Silver());
        const int white = CountRow(image, y, 168, 431, qRgb(255, 255, 255));
        EXPECT_EQ(silver + white, 264) << "row " << y;
        EXPECT_GT(silver, 100) << "dotted, row " << y;
        EXPECT_GT(white, 100) << "dotted, row " << y;
    }
    int silverLeft = 0;
    for (int y = 11; y <= 382; ++y)
        silverLeft += image.pixel(168, y) == Silver();
    EXPECT_GT(silverLeft, 150);
    EXPECT_LT(silverLeft, 222);
    EXPECT_EQ(CountRow(image, 10, 162, 437, qRgb(255, 255, 255)), 276) << "nothing above the frame";
    EXPECT_EQ(image.pixel(170, 13), qRgb(0, 0, 255)) << "content inside the frame";
}

TEST_F(PaintedPageTest, PageNumberInRedAtTheTopCentre)
{
    viewer->SetShowPageNr(true);
    QImage image = Grab();
    int red = 0;
    qint64 sumX = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            if (IsRedText(image.pixel(x, y))) {
                ++red;
                sumX += x;
                EXPECT_GE(y, 5) << "text top at the sheet's top edge";
                EXPECT_LE(y, 13) << "a small font";
            }
    ASSERT_GT(red, 20);
    EXPECT_NEAR(double(sumX) / red, 300, 4) << "centred on the sheet";

    viewer->SetShowPageNr(false);
    image = Grab();
    red = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            red += IsRedText(image.pixel(x, y));
    EXPECT_EQ(red, 0);
}

TEST_F(PaintedPageTest, MarginsShrinkTheContentNotTheSheet)
{
    viewer->SetMargLeft(30); // nearest(30 * 276/210) = 39
    const QImage image = Grab();
    EXPECT_EQ(viewer->PageWidth(), 276);
    EXPECT_EQ(image.pixel(161, 200), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(162 + 37, 200), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(162 + 40, 200), qRgb(0, 0, 255));
}

TEST_F(ViewerTest, OnlyThePageListIsSharedNeverFreedUnasked)
{
    int destroyed = 0;
    Open(600, 400, 0);
    QList<CountedPage *> owned;
    for (int i = 0; i < 3; ++i) {
        owned.append(new CountedPage(&destroyed));
        viewer->AddPage(owned.back());
    }
    EXPECT_EQ(changes, 3);
    viewer->ClearPages();
    EXPECT_EQ(viewer->PageCount(), 0);
    EXPECT_EQ(viewer->VertRange(), 0);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(changes, 4);
    viewer->ClearPages();
    EXPECT_EQ(changes, 4) << "an empty list is left alone";

    for (CountedPage *page : owned)
        viewer->AddPage(page);
    delete viewer;
    viewer = nullptr;
    EXPECT_EQ(destroyed, 0) << "destroying the viewer leaves the pages";

    viewer = new TEmfViewer(&parent);
    viewer->OnChange = [this] { ++changes; };
    changes = 0;
    for (CountedPage *page : owned)
        viewer->AddPage(page);
    viewer->FreePages();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(viewer->PageCount(), 0);
    EXPECT_EQ(changes, 4);
}

TEST_F(ViewerTest, JumpButtonsGoToTheFirstAndLastPage)
{
    Open(600, 400, 10);
    const auto buttons = viewer->findChildren<QToolButton *>();
    ASSERT_EQ(buttons.size(), 2);
    std::vector<int> seen;
    viewer->OnKeyDown = Recorder(seen);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(viewer->VertPos(), 8020);
    EXPECT_EQ(viewer->PageNr(), 10);
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_EQ(viewer->VertPos(), 0);
    EXPECT_EQ(seen, (std::vector<int>{0, 0})) << "they arrive as key presses";
}

TEST_F(ViewerTest, ScrollBarAndResize)
{
    Open(600, 400, 10);
    QScrollBar *vert = Bar(Qt::Vertical);
    EXPECT_EQ(vert->singleStep(), 30);
    EXPECT_EQ(vert->pageStep(), 400);
    EXPECT_EQ(Bar(Qt::Horizontal)->pageStep(), 600);
    vert->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(viewer->VertPos(), 30);
    EXPECT_EQ(moves, 1) << "operating the bar moves the view";

    vert->setValue(4010); // half of 8020
    viewer->resize(300 + viewer->ScrollBarWidth(), 400);
    // PW 288, PH 407, pitch 417: range 3770, and the view keeps its relative place.
    EXPECT_EQ(viewer->PageHeight(), 407);
    EXPECT_EQ(viewer->VertRange(), 3770);
    EXPECT_EQ(viewer->VertPos(), 1885);
    EXPECT_EQ(moves, 3);

    // Narrower than the scroll bar: nothing to show, nothing breaks.
    viewer->resize(3, 3);
    EXPECT_EQ(viewer->ClientWidth(), 0);
    EXPECT_EQ(viewer->PageWidth(), 1);
    EXPECT_GE(viewer->PageNr(), 1);
    viewer->SnapToPage();
    (void)Grab();
}

TEST_F(ViewerTest, ShowPageAreaBringsAFarMarkIntoViewAboveTheCoveredStrip)
{
    Open(600, 400, 3);
    viewer->SetZoomLevel(zoomExtra3);
    const QSize size = pages[2]->Size();
    const QRectF area(size.width() * 0.85, size.height() * 0.6, size.width() * 0.05, size.height() * 0.01);
    viewer->OnPageMarks = [&](int index) { return index == 2 ? QList<TPageMark>{{area, true}} : QList<TPageMark>{}; };
    // The current mark is orange, seen through over the white sheet.
    const auto orange = [this] {
        const QImage image = Grab();
        QRect found;
        for (int y = 0; y < viewer->ClientHeight(); ++y)
            for (int x = 0; x < viewer->ClientWidth(); ++x) {
                const QRgb c = image.pixel(x, y);
                if (qRed(c) >= 250 && std::abs(qGreen(c) - 185) <= 6 && std::abs(qBlue(c) - 115) <= 6)
                    found |= QRect(x, y, 1, 1);
            }
        return found;
    };
    ASSERT_TRUE(orange().isEmpty());
    viewer->ShowPageArea(2, area, 30);
    const QRect seen = orange();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_LE(seen.bottom(), 400 - 30) << "not under the covered strip";
    EXPECT_GT(seen.left(), 0);
    EXPECT_LT(seen.right(), 599);
    const int v = viewer->VertPos(), h = viewer->HorzPos();
    moves = 0;
    viewer->ShowPageArea(2, area, 30);
    EXPECT_EQ(moves, 0) << "an area in view stays where it is";
    EXPECT_EQ(viewer->VertPos(), v);
    EXPECT_EQ(viewer->HorzPos(), h);
    // Scrolled down to lie in the covered strip, it is no longer in view.
    Bar(Qt::Vertical)->setValue(v + seen.top() - 380);
    ASSERT_GE(orange().top(), 380);
    viewer->ShowPageArea(2, area, 30);
    EXPECT_LE(orange().bottom(), 400 - 30);
    viewer->SetZoomLevel(zoomPageW);
    viewer->ShowPageArea(0, area);
    EXPECT_EQ(viewer->HorzPos(), 0) << "no sideways scrolling below zoomExtra1";
}
