// The bitmap button: layouts, picture and caption placement, colour clamping, own pictures in both
// states, the hover frame and its edge tables, clicks and accelerators.
#include "ui/WenBtn.h"
#include "ui/WenBtnStrips.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An own picture: left half red, right half blue, inside a magenta frame whose colour (the
// top-left pixel) is transparent.
QPixmap TwoStatePicture()
{
    QImage image(24, 12, QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    p.fillRect(1, 1, 10, 10, QColor(255, 0, 0));
    p.fillRect(13, 1, 10, 10, QColor(0, 0, 255));
    p.end();
    return QPixmap::fromImage(image);
}

int CountColour(const QImage &image, const QRect &area, const QColor &colour)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += QColor(image.pixel(x, y)) == colour ? 1 : 0;
    return n;
}

// Bounding box of near-black pixels (the caption's ink) away from the edge.
QRect InkBox(const QImage &image)
{
    QRect box;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x) {
            const QColor c(image.pixel(x, y));
            if (c.red() < 70 && c.green() < 70 && c.blue() < 70)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

struct LayoutCase {
    const char *name;
    int w, h;
    TWenBtn::TLayout layout;
    QRect picture;
};

class WenBtnLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WenBtnLayout, PlacesPictureAndCaption)
{
    const LayoutCase c = GetParam();
    TWenBtn btn;
    btn.SetTyp(TWenBtnTyp::sbF5);
    btn.SetOpis(QStringLiteral("Drukuj"));
    btn.resize(c.w, c.h);
    EXPECT_EQ(btn.Layout(), c.layout);
    EXPECT_EQ(btn.PictureRect(), c.picture);
    const QRect caption = btn.CaptionRect();
    switch (c.layout) {
    case TWenBtn::TLayout::Stacked:
        if (c.h >= 50) { // a low stacked button simply overlaps
            EXPECT_GT(caption.top(), c.picture.bottom()) << "caption below the picture";
        }
        EXPECT_EQ(caption.bottom(), c.h - 2);
        break;
    case TWenBtn::TLayout::SideBySide:
        EXPECT_EQ(caption.left(), 2 * 2 + 22) << "caption right of the picture";
        break;
    case TWenBtn::TLayout::Vertical:
        EXPECT_EQ(caption.bottom() + 1, c.h - 17 - 2 * 2) << "caption above the picture";
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, WenBtnLayout,
    ::testing::Values(LayoutCase{"Stacked_100x75", 100, 75, TWenBtn::TLayout::Stacked, QRect(39, 2, 22, 17)},
                      LayoutCase{"SideBySide_121x25", 121, 25, TWenBtn::TLayout::SideBySide, QRect(2, 4, 22, 17)},
                      LayoutCase{"Vertical_20x60", 20, 60, TWenBtn::TLayout::Vertical, QRect(-1, 41, 22, 17)},
                      // Exactly twice as high as wide is not yet vertical; 30 high is not side by side.
                      LayoutCase{"Stacked_30x60", 30, 60, TWenBtn::TLayout::Stacked, QRect(4, 2, 22, 17)},
                      LayoutCase{"Stacked_80x30", 80, 30, TWenBtn::TLayout::Stacked, QRect(29, 2, 22, 17)},
                      LayoutCase{"SideBySide_80x29", 80, 29, TWenBtn::TLayout::SideBySide, QRect(2, 6, 22, 17)}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(WenBtn, CaptionInkLandsInItsBand)
{
    // Own picture without a picture, so the only dark ink is the caption.
    struct Row {
        int w, h;
    } rows[] = {{100, 75}, {121, 25}, {20, 60}};
    for (const Row &row : rows) {
        TWenBtn btn;
        btn.SetOpis(QStringLiteral("Drukuj"));
        btn.resize(row.w, row.h);
        const QRect ink = InkBox(btn.Render());
        ASSERT_TRUE(ink.isValid()) << row.w << "x" << row.h;
        switch (btn.Layout()) {
        case TWenBtn::TLayout::Stacked:
            EXPECT_GT(ink.top(), row.h / 2);
            EXPECT_NEAR(ink.center().x(), row.w / 2, 3);
            break;
        case TWenBtn::TLayout::SideBySide:
            EXPECT_LE(ink.left(), 4) << "left-aligned at the margin without a picture";
            EXPECT_NEAR(ink.center().y(), row.h / 2, 3);
            break;
        case TWenBtn::TLayout::Vertical:
            EXPECT_GT(ink.height(), ink.width()) << "turned by 90 degrees";
            EXPECT_NEAR(ink.center().x(), row.w / 2, 3);
            break;
        }
    }
}

TEST(WenBtn, NegativeMarginCentresASideBySideCaption)
{
    TWenBtn btn;
    btn.SetOpis(QStringLiteral("OK"));
    btn.SetMargines(-1);
    btn.resize(121, 25);
    const QRect ink = InkBox(btn.Render());
    EXPECT_NEAR(ink.center().x(), 60, 3);
}

TEST(WenBtn, KolorIsClamped)
{
    const struct {
        int in, out;
    } rows[] = {{7, 4}, {-1, 0}, {3, 3}, {0, 0}, {4, 4}, {5, 4}};
    for (const auto &row : rows) {
        TWenBtn btn;
        btn.SetKolor(row.in);
        EXPECT_EQ(btn.Kolor(), row.out) << row.in;
    }
    // And the plate painted is the clamped one.
    TWenBtn btn;
    btn.SetTyp(TWenBtnTyp::sbPusty);
    btn.resize(100, 75);
    btn.SetKolor(7);
    const QImage plate = TWenBtnImages::Instance().Plate(4, true);
    const QRect pic = btn.PictureRect();
    EXPECT_EQ(QColor(btn.Render().pixel(pic.left() + 11, pic.top() + 8)), QColor(plate.pixel(11, 8)));
}

TEST(WenBtn, OwnPictureShowsTheHalfOfItsState)
{
    TWenBtn btn;
    btn.SetIkonka(TwoStatePicture());
    btn.SetOpis(QStringLiteral("Drukuj"));
    btn.resize(100, 75);
    EXPECT_EQ(btn.PictureSize(), QSize(12, 12));
    const QRect pic = btn.PictureRect();
    QImage enabled = btn.Render();
    EXPECT_GT(CountColour(enabled, pic, Qt::red), 50);
    EXPECT_EQ(CountColour(enabled, pic, Qt::blue), 0);
    EXPECT_EQ(CountColour(enabled, pic, QColor(255, 0, 255)), 0) << "top-left colour is transparent";

    btn.setEnabled(false);
    const QImage disabled = btn.Render();
    EXPECT_GT(CountColour(disabled, pic, Qt::blue), 50);
    EXPECT_EQ(CountColour(disabled, pic, Qt::red), 0);
    // The engraved caption: shadow-coloured ink with a highlight copy below and right.
    const QRect caption = btn.CaptionRect();
    EXPECT_GT(CountColour(disabled, caption, btn.palette().color(QPalette::Dark)), 5);
    EXPECT_GT(CountColour(disabled, caption, btn.palette().color(QPalette::Light)), 5);
}

TEST(WenBtn, DisabledKeyUsesTheDisabledStrips)
{
    TWenBtn btn;
    btn.SetTyp(TWenBtnTyp::sbEnter);
    btn.SetKolor(2);
    btn.resize(40, 33);
    const QRect pic = btn.PictureRect();
    const QColor enabledFace(btn.Render().pixel(pic.left() + 4, pic.top() + 4));
    btn.setEnabled(false);
    const QColor disabledFace(btn.Render().pixel(pic.left() + 4, pic.top() + 4));
    EXPECT_NE(enabledFace, disabledFace);
    EXPECT_LT(disabledFace.hsvSaturation(), enabledFace.hsvSaturation()) << "disabled plates are washed out";
}

TEST(WenBtn, PressedLookShiftsByOnePixel)
{
    TWenBtn btn;
    btn.SetTyp(TWenBtnTyp::sbA);
    btn.resize(100, 75);
    const QRect idle = btn.PictureRect();
    btn.SetDown(true);
    EXPECT_TRUE(btn.PressedLook());
    EXPECT_EQ(btn.PictureRect(), idle.translated(1, 1));
    EXPECT_EQ(QColor(btn.Render().pixel(5, 60)), btn.ColorDown()) << "down fills with ColorDown";
    EXPECT_EQ(btn.EdgeIndex(), 1);
}

TEST(WenBtn, OnPaintGetsTheInnerRectangle)
{
    TWenBtn btn;
    btn.resize(40, 33);
    QRect seen;
    btn.OnPaint = [&](TWenBtn *, QPainter &canvas, const QRect &r) {
        seen = r;
        canvas.fillRect(r.left() + 5, r.top() + 5, 3, 3, Qt::green);
    };
    const QImage image = btn.Render();
    EXPECT_EQ(seen, QRect(1, 1, 38, 31));
    EXPECT_EQ(QColor(image.pixel(7, 7)), QColor(Qt::green));
    btn.SetDown(true);
    btn.Render();
    EXPECT_EQ(seen, QRect(2, 2, 38, 31));
}

TEST(WenBtn, HotIsClearedByAClick)
{
    QWidget window;
    window.resize(200, 100);
    auto *btn = new TWenBtn(&window);
    btn->setGeometry(10, 10, 100, 40);
    btn->SetShowFrame(false);
    int clicks = 0;
    QObject::connect(btn, &TWenBtn::clicked, [&] { ++clicks; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)); // pointer events need a mapped window
    QTest::mouseMove(btn, QPoint(50, 20));
    EXPECT_TRUE(btn->Hot());
    EXPECT_EQ(btn->EdgeIndex(), 2) << "hover frame";
    QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_TRUE(btn->MouseHeld());
    EXPECT_EQ(btn->EdgeIndex(), 3) << "hot and pressed";
    QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(btn->Hot());
    EXPECT_FALSE(btn->MouseHeld());
    EXPECT_EQ(btn->EdgeIndex(), -1) << "no frame until the pointer moves again";
    QTest::mouseMove(btn, QPoint(52, 21));
    EXPECT_TRUE(btn->Hot());
}

TEST(WenBtn, ReleaseOutsideDoesNotClick)
{
    QWidget window;
    auto *btn = new TWenBtn(&window);
    btn->resize(60, 30);
    int clicks = 0;
    QObject::connect(btn, &TWenBtn::clicked, [&] { ++clicks; });
    window.show();
    QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(btn->MouseHeld());
}

TEST(WenBtn, ShowFrameFalseShowsEdgeOnlyWhileHotAndEnabled)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(10, 200, 30));
    parent.setPalette(pal);
    auto *btn = new TWenBtn(&parent);
    btn->resize(40, 33);
    btn->SetShowFrame(false);
    EXPECT_EQ(btn->EdgeIndex(), -1);
    EXPECT_EQ(QColor(btn->Render().pixel(0, 0)), QColor(10, 200, 30)) << "outline in the parent's colour";
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(btn, &enter);
    EXPECT_EQ(btn->EdgeIndex(), 2);
    EXPECT_NE(QColor(btn->Render().pixel(0, 0)), QColor(10, 200, 30));
    btn->setEnabled(false);
    EXPECT_EQ(btn->EdgeIndex(), -1) << "a disabled button shows no hover frame";
    btn->SetShowFrame(true);
    EXPECT_EQ(btn->EdgeIndex(), 0) << "with ShowFrame the idle edge shows even when disabled";
}

TEST(WenBtn, EdgeTableFollowsTheSystemColours)
{
    QPalette classic;
    classic.setColor(QPalette::Button, QColor(192, 192, 192));
    classic.setColor(QPalette::Midlight, QColor(192, 192, 192));
    const auto flat = TWenBtn::EdgeTable(classic);
    EXPECT_EQ(flat[0], (TEdgeStyle{kRaisedInner, false}));
    EXPECT_EQ(flat[1], (TEdgeStyle{kSunkenOuter, false}));
    EXPECT_EQ(flat[2], (TEdgeStyle{kEdgeRaised, true}));
    EXPECT_EQ(flat[3], (TEdgeStyle{kEdgeSunken, true}));
    QPalette modern = classic;
    modern.setColor(QPalette::Midlight, QColor(227, 227, 227));
    const auto soft = TWenBtn::EdgeTable(modern);
    EXPECT_EQ(soft[0], (TEdgeStyle{kRaisedInner, true}));
    EXPECT_EQ(soft[1], (TEdgeStyle{kSunkenOuter, true}));
    EXPECT_EQ(soft[2], (TEdgeStyle{kRaisedInner, false}));
    EXPECT_EQ(soft[3], (TEdgeStyle{kSunkenOuter, false}));
}

TEST(WenBtn, ClickRestoresTheIdleLookWhenTheHandlerRaises)
{
    QWidget window;
    auto *btn = new TWenBtn(&window);
    btn->resize(60, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QObject::connect(btn, &TWenBtn::clicked, [] { throw std::runtime_error("boom"); });
    QTest::mouseMove(btn, QPoint(10, 10));
    ASSERT_TRUE(btn->Hot());
    EXPECT_THROW(btn->Click(), std::runtime_error);
    EXPECT_FALSE(btn->Hot());
    EXPECT_FALSE(btn->MouseHeld());
}

TEST(WenBtn, AcceleratorFromOpisClicksWhenUsable)
{
    QWidget window;
    auto *btn = new TWenBtn(&window);
    btn->SetOpis(QStringLiteral("&Drukuj"));
    int clicks = 0;
    QObject::connect(btn, &TWenBtn::clicked, [&] { ++clicks; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    btn->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    btn->setEnabled(true);
    btn->ClickIfUsable();
    EXPECT_EQ(clicks, 2);
    btn->hide();
    btn->ClickIfUsable();
    EXPECT_EQ(clicks, 2);
}

TEST(WenBtn, DefaultsAtCreation)
{
    TWenBtn btn;
    EXPECT_EQ(btn.size(), QSize(40, 33));
    EXPECT_EQ(btn.Typ(), TWenBtnTyp::sbWlasny);
    EXPECT_EQ(btn.Margines(), 2);
    EXPECT_TRUE(btn.ShowFrame());
    EXPECT_FALSE(btn.Down());
    EXPECT_EQ(btn.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(btn.font().bold());
    EXPECT_EQ(btn.font().pixelSize(), 11);
    EXPECT_EQ(btn.ColorDown(), btn.palette().color(QPalette::Light));
}
