// Each family of drawing records lands where GDI would put it: chosen pixels of a 100 x 100
// picture played 1:1, within a tolerance.
#include "tests/support/EmfWriter.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

using testing_emf::EmfWriter;
using testing_emf::Near;
using testing_emf::Render;

namespace {

const QColor kWhite(255, 255, 255), kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(0, 0, 0), kGreen(0, 128, 0);

struct Probe {
    QPoint at;
    QColor color;
};

struct Case {
    const char *name;
    std::function<void(EmfWriter &)> build;
    QList<Probe> probes;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

// Red solid brush in slot 1, null pen selected: fills without outlines.
void RedFill(EmfWriter &w)
{
    w.CreateBrush(1, 0, kRed);
    w.SelectObject(1);
    w.SelectObject(0x80000008); // NULL_PEN
}

std::string CaseName(const ::testing::TestParamInfo<Case> &info)
{
    return info.param.name;
}

class Drawing : public ::testing::TestWithParam<Case> {};

TEST_P(Drawing, PixelsLandWhereExpected)
{
    const Case &c = GetParam();
    EmfWriter w;
    c.build(w);
    const QImage image = Render(w.Finish());
    for (const Probe &p : c.probes)
        EXPECT_TRUE(Near(image.pixel(p.at), p.color))
            << c.name << " at (" << p.at.x() << "," << p.at.y() << ") got " << std::hex << image.pixel(p.at);
}

const Case kShapes[] = {
    {"Rectangle",
     [](EmfWriter &w) {
         RedFill(w);
         w.Rectangle(10, 10, 50, 40);
     },
     {{{12, 12}, kRed}, {{48, 38}, kRed}, {{55, 20}, kWhite}, {{20, 45}, kWhite}}},
    {"ReversedRectangleIsNormalised",
     [](EmfWriter &w) {
         RedFill(w);
         w.Rectangle(50, 40, 10, 10);
     },
     {{{30, 25}, kRed}, {{60, 25}, kWhite}}},
    {"EllipseFillsItsMiddleNotItsCorners",
     [](EmfWriter &w) {
         RedFill(w);
         w.Ellipse(0, 0, 100, 100);
     },
     {{{50, 50}, kRed}, {{3, 3}, kWhite}, {{96, 96}, kWhite}, {{50, 2}, kRed}}},
    {"RoundRectKeepsCornersOut",
     [](EmfWriter &w) {
         RedFill(w);
         w.RoundRect(0, 0, 100, 100, 60, 60);
     },
     {{{50, 50}, kRed}, {{2, 2}, kWhite}, {{50, 1}, kRed}}},
    {"Polygon32",
     [](EmfWriter &w) {
         RedFill(w);
         w.Poly(3, {{0, 0}, {100, 0}, {0, 100}}, false);
     },
     {{{10, 10}, kRed}, {{90, 90}, kWhite}}},
    {"Polygon16",
     [](EmfWriter &w) {
         RedFill(w);
         w.Poly(3, {{100, 100}, {100, 0}, {0, 100}}, true);
     },
     {{{90, 90}, kRed}, {{10, 10}, kWhite}}},
    {"Polyline16StrokesWithThePen",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 3, kBlue);
         w.SelectObject(1);
         w.Poly(4, {{10, 50}, {90, 50}}, true);
     },
     {{{50, 50}, kBlue}, {{50, 60}, kWhite}}},
    {"PolylineIsNotFilled",
     [](EmfWriter &w) {
         RedFill(w);
         w.CreatePen(2, 0, 1, kBlue);
         w.SelectObject(2);
         w.Poly(4, {{10, 10}, {90, 10}, {90, 90}}, false);
     },
     {{{70, 30}, kWhite}, {{50, 10}, kBlue}}},
    {"PolyPolygonFillsEveryPart",
     [](EmfWriter &w) {
         RedFill(w);
         w.PolyPolygon({{{0, 0}, {30, 0}, {30, 30}, {0, 30}}, {{60, 60}, {90, 60}, {90, 90}, {60, 90}}}, false);
     },
     {{{15, 15}, kRed}, {{75, 75}, kRed}, {{45, 45}, kWhite}}},
    {"PolyPolyline16",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 3, kBlue);
         w.SelectObject(1);
         w.PolyPolyline({{{0, 20}, {100, 20}}, {{0, 80}, {100, 80}}}, true);
     },
     {{{50, 20}, kBlue}, {{50, 80}, kBlue}, {{50, 50}, kWhite}}},
    {"BezierBendsTowardsItsControls",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 3, kBlue);
         w.SelectObject(1);
         w.Poly(2, {{0, 90}, {0, 10}, {100, 10}, {100, 90}}, false);
     },
     // the curve's top, at t = 1/2, is at y = 90 - 0.75 * 80 = 30
     {{{50, 30}, kBlue}, {{50, 90}, kWhite}}},
    {"MoveToLineToPolylineTo",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 3, kBlue);
         w.SelectObject(1);
         w.MoveTo(10, 10);
         w.LineTo(90, 10);
         w.Poly(6, {{90, 90}}, true);
     },
     {{{50, 10}, kBlue}, {{90, 50}, kBlue}, {{50, 50}, kWhite}}},
    {"PolyBezierToStartsAtTheCurrentPosition",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 3, kBlue);
         w.SelectObject(1);
         w.MoveTo(0, 50);
         w.Poly(5, {{30, 50}, {70, 50}, {100, 50}}, false);
     },
     {{{50, 50}, kBlue}}},
    {"PieFillsItsQuarter",
     [](EmfWriter &w) {
         RedFill(w);
         // counter-clockwise from the right (3 o'clock) to the top (12 o'clock): the upper right quarter
         w.ArcFamily(47, QRect(0, 0, 100, 100), {100, 50}, {50, 0});
     },
     {{{70, 30}, kRed}, {{30, 30}, kWhite}, {{30, 70}, kWhite}, {{70, 70}, kWhite}}},
    {"ChordFillsTheSegment",
     [](EmfWriter &w) {
         RedFill(w);
         w.ArcFamily(46, QRect(0, 0, 100, 100), {100, 50}, {0, 50}); // the upper half
     },
     {{{50, 20}, kRed}, {{50, 80}, kWhite}}},
    {"ArcStrokesOnlyItsPart",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 3, kBlue);
         w.SelectObject(1);
         w.ArcFamily(45, QRect(0, 0, 100, 100), {100, 50}, {0, 50});
     },
     {{{50, 1}, kBlue}, {{50, 98}, kWhite}, {{50, 50}, kWhite}}},
    {"ClockwiseArcTakesTheOtherHalf",
     [](EmfWriter &w) {
         RedFill(w);
         w.Raw(57, QByteArray("\x02\0\0\0", 4)); // SETARCDIRECTION clockwise
         w.ArcFamily(46, QRect(0, 0, 100, 100), {100, 50}, {0, 50});
     },
     {{{50, 20}, kWhite}, {{50, 80}, kRed}}},
    {"SetPixel",
     [](EmfWriter &w) { w.Raw(15, QByteArray("\x14\0\0\0\x1e\0\0\0\xff\0\0\0", 12)); },
     {{{20, 30}, kRed}, {{22, 30}, kWhite}}},
};
INSTANTIATE_TEST_SUITE_P(Shapes, Drawing, ::testing::ValuesIn(kShapes), CaseName);

const Case kObjects[] = {
    {"StockBlackBrush",
     [](EmfWriter &w) {
         w.SelectObject(0x80000004);
         w.Rectangle(10, 10, 90, 90);
     },
     {{{50, 50}, kBlack}}},
    {"NullBrushLeavesTheInside",
     [](EmfWriter &w) {
         w.SelectObject(0x80000005);
         w.Rectangle(10, 10, 90, 90);
     },
     {{{50, 50}, kWhite}, {{10, 50}, kBlack}}},
    {"DefaultsAreWhiteBrushBlackPen",
     [](EmfWriter &w) { w.Rectangle(10, 10, 90, 90); },
     {{{50, 50}, kWhite}, {{10, 50}, kBlack}}},
    {"DeletedObjectCannotBeSelected",
     [](EmfWriter &w) {
         RedFill(w);
         w.CreateBrush(2, 0, kBlue);
         w.DeleteObject(2);
         w.SelectObject(2);
         w.Rectangle(10, 10, 90, 90);
     },
     {{{50, 50}, kRed}}},
    {"SelectedObjectOutlivesItsDeletion",
     [](EmfWriter &w) {
         RedFill(w);
         w.DeleteObject(1);
         w.Rectangle(10, 10, 90, 90);
     },
     {{{50, 50}, kRed}}},
    {"SlotReusedAfterDelete",
     [](EmfWriter &w) {
         RedFill(w);
         w.DeleteObject(1);
         w.CreateBrush(1, 0, kBlue);
         w.SelectObject(1);
         w.Rectangle(10, 10, 90, 90);
     },
     {{{50, 50}, kBlue}}},
};
INSTANTIATE_TEST_SUITE_P(Objects, Drawing, ::testing::ValuesIn(kObjects), CaseName);

const Case kMapping[] = {
    {"WindowOriginShiftsMmText",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWindowOrg(100, 100);
         w.Rectangle(100, 100, 120, 120);
     },
     {{{10, 10}, kRed}, {{30, 30}, kWhite}}},
    {"ViewportOriginShifts",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetViewportOrg(50, 50);
         w.Rectangle(0, 0, 20, 20);
     },
     {{{60, 60}, kRed}, {{10, 10}, kWhite}}},
    {"AnisotropicScalesEachAxis",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetMapMode(8);
         w.SetWindowExt(1000, 200);
         w.SetViewportExt(100, 100);
         w.Rectangle(0, 0, 500, 100); // a quarter: 50 x 50 pixels
     },
     {{{45, 45}, kRed}, {{55, 45}, kWhite}, {{45, 55}, kWhite}}},
    {"IsotropicKeepsTheAspect",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetMapMode(7);
         w.SetWindowExt(200, 100);
         w.SetViewportExt(100, 100); // x wants 0.5, y 1: both take 0.5
         w.Rectangle(0, 0, 100, 100);
     },
     {{{45, 45}, kRed}, {{45, 55}, kWhite}}},
    {"ExtentsIgnoredInMmText",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWindowExt(1000, 1000);
         w.SetViewportExt(10, 10);
         w.Rectangle(0, 0, 50, 50);
     },
     {{{45, 45}, kRed}}},
    {"LoMetricIsTenthsOfAMillimetreUpwards",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetMapMode(2);
         // 4 device pixels a millimetre: 100 units = 10 mm = 40 pixels, y grows upwards
         w.Rectangle(0, -100, 100, -200);
     },
     {{{20, 60}, kRed}, {{20, 30}, kWhite}, {{20, 90}, kWhite}, {{50, 60}, kWhite}}},
    {"HiMetricIsHundredthsOfAMillimetre",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetMapMode(3);
         w.Rectangle(0, 0, 1000, -1000); // 10 mm square at the top left
     },
     {{{20, 20}, kRed}, {{50, 20}, kWhite}}},
    {"TwipsAreAFourteenHundredFortiethOfAnInch",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetMapMode(6);
         w.Rectangle(0, 0, 1440, -720); // one inch by half an inch: 101.6 x 50.8 pixels
     },
     {{{95, 45}, kRed}, {{95, 55}, kWhite}}},
    {"WorldTranslate",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWorldTransform(QTransform::fromTranslate(50, 0));
         w.Rectangle(0, 0, 20, 20);
     },
     {{{60, 10}, kRed}, {{10, 10}, kWhite}}},
    {"WorldScaleThenPageMapping",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetMapMode(8);
         w.SetWindowExt(200, 200);
         w.SetViewportExt(100, 100);
         w.SetWorldTransform(QTransform::fromScale(2, 2)); // world doubles, page halves
         w.Rectangle(10, 10, 20, 20);
     },
     {{{15, 15}, kRed}, {{25, 25}, kWhite}}},
    {"ModifyLeftMultiplyAppliesFirst",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWorldTransform(QTransform::fromTranslate(50, 0));
         w.ModifyWorldTransform(QTransform::fromScale(2, 2), 2); // scale, then translate
         w.Rectangle(0, 0, 10, 10);
     },
     {{{65, 15}, kRed}, {{75, 15}, kWhite}}},
    {"ModifyRightMultiplyAppliesLast",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWorldTransform(QTransform::fromTranslate(20, 0));
         w.ModifyWorldTransform(QTransform::fromScale(2, 2), 3); // translate, then scale: x 40..60
         w.Rectangle(0, 0, 10, 10);
     },
     {{{50, 15}, kRed}, {{30, 15}, kWhite}, {{65, 15}, kWhite}}},
    {"ModifyIdentityResets",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWorldTransform(QTransform::fromTranslate(50, 50));
         w.ModifyWorldTransform(QTransform(), 1);
         w.Rectangle(0, 0, 20, 20);
     },
     {{{10, 10}, kRed}}},
    {"SingularWorldTransformIsRefused",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWorldTransform(QTransform(0, 0, 0, 0, 5, 5));
         w.Rectangle(0, 0, 20, 20);
     },
     {{{10, 10}, kRed}}},
    {"WorldRotation",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWorldTransform(QTransform().translate(50, 50).rotate(90)); // x axis turns to point down
         w.Rectangle(0, -5, 40, 5);
     },
     {{{50, 80}, kRed}, {{80, 50}, kWhite}}},
    {"SaveRestoreBringsBackTransformAndBrush",
     [](EmfWriter &w) {
         RedFill(w);
         w.SaveDC();
         w.SetWorldTransform(QTransform::fromTranslate(50, 50));
         w.CreateBrush(2, 0, kBlue);
         w.SelectObject(2);
         w.RestoreDC(-1);
         w.Rectangle(0, 0, 20, 20);
     },
     {{{10, 10}, kRed}, {{60, 60}, kWhite}}},
    {"RestoreToAnAbsoluteLevel",
     [](EmfWriter &w) {
         RedFill(w);
         w.SaveDC(); // level 1: red
         w.CreateBrush(2, 0, kBlue);
         w.SelectObject(2);
         w.SaveDC(); // level 2: blue
         w.SelectObject(0x80000004);
         w.RestoreDC(1);
         w.Rectangle(0, 0, 20, 20);
     },
     {{{10, 10}, kRed}}},
    {"RestoreBeyondTheStackIsIgnored",
     [](EmfWriter &w) {
         RedFill(w);
         w.SaveDC();
         w.CreateBrush(2, 0, kBlue);
         w.SelectObject(2);
         w.RestoreDC(-5);
         w.Rectangle(0, 0, 20, 20);
     },
     {{{10, 10}, kBlue}}},
};
INSTANTIATE_TEST_SUITE_P(Mapping, Drawing, ::testing::ValuesIn(kMapping), CaseName);

const Case kClipping[] = {
    {"IntersectClipRect",
     [](EmfWriter &w) {
         RedFill(w);
         w.IntersectClipRect(20, 20, 60, 60);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{40, 40}, kRed}, {{10, 10}, kWhite}, {{70, 70}, kWhite}}},
    {"IntersectClipRectTwiceKeepsTheOverlap",
     [](EmfWriter &w) {
         RedFill(w);
         w.IntersectClipRect(0, 0, 60, 60);
         w.IntersectClipRect(40, 40, 100, 100);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kRed}, {{30, 30}, kWhite}, {{70, 70}, kWhite}}},
    {"ExcludeClipRectMakesAHole",
     [](EmfWriter &w) {
         RedFill(w);
         w.ExcludeClipRect(40, 40, 60, 60);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kWhite}, {{10, 10}, kRed}, {{90, 90}, kRed}}},
    {"ClipRectIsLogical",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWindowOrg(-50, 0);
         w.IntersectClipRect(0, 0, 10, 100); // device x 50..60
         w.Rectangle(-50, 0, 50, 100);
     },
     {{{55, 50}, kRed}, {{45, 50}, kWhite}}},
    {"ExtSelectClipRgnCopyUsesDevicePixels",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetWindowOrg(100, 100); // does not move a region
         w.ExtSelectClipRgn({QRect(0, 0, 30, 30), QRect(70, 70, 30, 30)}, 5);
         w.Rectangle(100, 100, 200, 200);
     },
     {{{15, 15}, kRed}, {{85, 85}, kRed}, {{50, 50}, kWhite}}},
    {"ExtSelectClipRgnEmptyCopyResets",
     [](EmfWriter &w) {
         RedFill(w);
         w.IntersectClipRect(0, 0, 10, 10);
         w.ExtSelectClipRgn({}, 5);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kRed}}},
    {"ExtSelectClipRgnDiff",
     [](EmfWriter &w) {
         RedFill(w);
         w.ExtSelectClipRgn({QRect(40, 0, 20, 100)}, 4);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kWhite}, {{20, 50}, kRed}}},
    {"ExtSelectClipRgnOrAddsToTheClip",
     [](EmfWriter &w) {
         RedFill(w);
         w.IntersectClipRect(0, 0, 20, 20);
         w.ExtSelectClipRgn({QRect(80, 80, 20, 20)}, 2);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{10, 10}, kRed}, {{90, 90}, kRed}, {{50, 50}, kWhite}}},
    {"SelectClipPathClipsToAnEllipse",
     [](EmfWriter &w) {
         RedFill(w);
         w.BeginPath();
         w.Ellipse(0, 0, 100, 100);
         w.EndPath();
         w.SelectClipPath(5);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kRed}, {{3, 3}, kWhite}, {{97, 97}, kWhite}}},
    {"RestoreDcBringsBackTheClip",
     [](EmfWriter &w) {
         RedFill(w);
         w.SaveDC();
         w.IntersectClipRect(0, 0, 10, 10);
         w.RestoreDC(-1);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kRed}}},
    {"SetMetaRgnLimitsTheReset",
     [](EmfWriter &w) {
         RedFill(w);
         w.IntersectClipRect(0, 0, 50, 100);
         w.Raw(28, {}); // SETMETARGN
         w.ExtSelectClipRgn({}, 5);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{25, 50}, kRed}, {{75, 50}, kWhite}}},
};
INSTANTIATE_TEST_SUITE_P(Clipping, Drawing, ::testing::ValuesIn(kClipping), CaseName);

// Two squares of the same winding, one inside the other.
void NestedSquares(EmfWriter &w)
{
    RedFill(w);
    w.PolyPolygon({{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{30, 30}, {70, 30}, {70, 70}, {30, 70}}}, false);
}

const Case kModes[] = {
    {"AlternateLeavesTheInnerSquare", [](EmfWriter &w) { NestedSquares(w); }, {{{50, 50}, kWhite}, {{10, 10}, kRed}}},
    {"WindingFillsTheInnerSquare",
     [](EmfWriter &w) {
         w.SetPolyFillMode(2);
         NestedSquares(w);
     },
     {{{50, 50}, kRed}, {{10, 10}, kRed}}},
    {"WidePenReachesOutFromTheLine",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 20, kBlue);
         w.SelectObject(1);
         w.Poly(4, {{10, 50}, {90, 50}}, false);
     },
     {{{50, 42}, kBlue}, {{50, 58}, kBlue}, {{50, 64}, kWhite}}},
    {"ThinPenStaysOnTheLine",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 1, kBlue);
         w.SelectObject(1);
         w.Poly(4, {{10, 50}, {90, 50}}, false);
     },
     {{{50, 50}, kBlue}, {{50, 46}, kWhite}}},
    {"PenWidthFollowsTheMapping",
     [](EmfWriter &w) {
         w.SetMapMode(8);
         w.SetWindowExt(10, 10);
         w.SetViewportExt(100, 100);
         w.CreatePen(1, 0, 2, kBlue); // 2 logical units: 20 pixels
         w.SelectObject(1);
         w.Poly(4, {{1, 5}, {9, 5}}, false);
     },
     {{{50, 42}, kBlue}, {{50, 64}, kWhite}}},
    {"ExtendedGeometricPenWithFlatCaps",
     [](EmfWriter &w) {
         w.ExtCreatePen(1, 0x10000 | 0x200, 20, kBlue); // PS_GEOMETRIC | PS_ENDCAP_FLAT
         w.SelectObject(1);
         w.Poly(4, {{20, 50}, {80, 50}}, false);
     },
     {{{50, 50}, kBlue}, {{15, 50}, kWhite}, {{85, 50}, kWhite}}},
    {"RoundCapsReachPastTheEnds",
     [](EmfWriter &w) {
         w.CreatePen(1, 0, 20, kBlue);
         w.SelectObject(1);
         w.Poly(4, {{20, 50}, {80, 50}}, false);
     },
     {{{15, 50}, kBlue}, {{85, 50}, kBlue}}},
    {"DashedPenLeavesGaps",
     [](EmfWriter &w) {
         w.CreatePen(1, 1, 0, kBlue); // PS_DASH, cosmetic: 18 on, 6 off
         w.SelectObject(1);
         w.SetBkMode(1);
         w.Poly(4, {{0, 50}, {100, 50}}, false);
     },
     {{{9, 50}, kBlue}, {{21, 50}, kWhite}}},
    {"UserStyledPen",
     [](EmfWriter &w) {
         w.ExtCreatePen(1, 0x10000 | 7 | 0x200, 4, kBlue, {40, 40}); // 40 on, 40 off, flat ends
         w.SelectObject(1);
         w.Poly(4, {{0, 50}, {100, 50}}, false);
     },
     {{{20, 50}, kBlue}, {{60, 50}, kWhite}, {{90, 50}, kBlue}}},
    {"NullPenDrawsNoOutline",
     [](EmfWriter &w) {
         w.SelectObject(0x80000008);
         w.Rectangle(10, 10, 90, 90);
     },
     {{{10, 50}, kWhite}}},
    {"Rop2NopDrawsNothing",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetRop2(11);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kWhite}}},
    {"Rop2BlackIgnoresTheBrushColour",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetRop2(1);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, kBlack}}},
    {"Rop2XorOnWhiteGivesTheInverse",
     [](EmfWriter &w) {
         RedFill(w);
         w.SetRop2(7);
         w.Rectangle(0, 0, 100, 100);
     },
     {{{50, 50}, QColor(0, 255, 255)}}},
};
INSTANTIATE_TEST_SUITE_P(Modes, Drawing, ::testing::ValuesIn(kModes), CaseName);

const Case kPaths[] = {
    {"FillPath",
     [](EmfWriter &w) {
         RedFill(w);
         w.BeginPath();
         w.MoveTo(0, 0);
         w.LineTo(100, 0);
         w.LineTo(0, 100);
         w.CloseFigure();
         w.EndPath();
         w.FillPath();
     },
     {{{10, 10}, kRed}, {{90, 90}, kWhite}}},
    {"ShapesInsideAPathAreNotDrawnUntilFilled",
     [](EmfWriter &w) {
         RedFill(w);
         w.BeginPath();
         w.Rectangle(0, 0, 50, 50);
         w.EndPath();
     },
     {{{25, 25}, kWhite}}},
    {"StrokePathUsesThePenOnly",
     [](EmfWriter &w) {
         RedFill(w);
         w.CreatePen(2, 0, 3, kBlue);
         w.SelectObject(2);
         w.BeginPath();
         w.Rectangle(10, 10, 90, 90);
         w.EndPath();
         w.StrokePath();
     },
     {{{10, 50}, kBlue}, {{50, 50}, kWhite}}},
    {"StrokeAndFillPath",
     [](EmfWriter &w) {
         RedFill(w);
         w.CreatePen(2, 0, 3, kBlue);
         w.SelectObject(2);
         w.BeginPath();
         w.Ellipse(10, 10, 90, 90);
         w.EndPath();
         w.StrokeAndFillPath();
     },
     {{{10, 50}, kBlue}, {{50, 50}, kRed}}},
    {"WidenPathMakesARing",
     [](EmfWriter &w) {
         RedFill(w);
         w.CreatePen(2, 0, 10, kBlue);
         w.SelectObject(2);
         w.BeginPath();
         w.Rectangle(20, 20, 80, 80);
         w.EndPath();
         w.WidenPath();
         w.FillPath();
     },
     {{{20, 50}, kRed}, {{50, 50}, kWhite}, {{10, 50}, kWhite}}},
    {"FlattenPathKeepsTheCurve",
     [](EmfWriter &w) {
         RedFill(w);
         w.BeginPath();
         w.Ellipse(0, 0, 100, 100);
         w.EndPath();
         w.FlattenPath();
         w.FillPath();
     },
     {{{50, 50}, kRed}, {{3, 3}, kWhite}}},
    {"AbortPathDropsIt",
     [](EmfWriter &w) {
         RedFill(w);
         w.BeginPath();
         w.Rectangle(0, 0, 100, 100);
         w.Raw(68, {});
         w.FillPath();
     },
     {{{50, 50}, kWhite}}},
    {"PathFollowsTheTransformOfItsFigures",
     [](EmfWriter &w) {
         RedFill(w);
         w.BeginPath();
         w.SetWindowOrg(-50, -50);
         w.Rectangle(0, 0, 20, 20);
         w.EndPath();
         w.SetWindowOrg(0, 0);
         w.FillPath();
     },
     {{{60, 60}, kRed}, {{10, 10}, kWhite}}},
};
INSTANTIATE_TEST_SUITE_P(Paths, Drawing, ::testing::ValuesIn(kPaths), CaseName);

// Counts the pixels of a 16 x 16 patch near `color`.
int CountNear(const QImage &image, QColor color)
{
    int n = 0;
    for (int y = 40; y < 56; ++y)
        for (int x = 40; x < 56; ++x)
            n += Near(image.pixel(x, y), color, 30);
    return n;
}

TEST(EmfPlayback, HatchedBrushKeepsOrFillsItsGapsByBackgroundMode)
{
    for (int mode : {1, 2}) {
        EmfWriter w;
        w.CreateBrush(1, 2, kBlue, 4); // HS_CROSS
        w.SelectObject(1);
        w.SelectObject(0x80000008);
        w.SetBkColor(kGreen);
        w.SetBkMode(mode);
        w.Rectangle(0, 0, 100, 100);
        const QImage image = Render(w.Finish());
        EXPECT_GT(CountNear(image, kBlue), 16) << mode;
        if (mode == 1) { // TRANSPARENT: the page shows between the lines
            EXPECT_GT(CountNear(image, kWhite), 100);
            EXPECT_EQ(CountNear(image, kGreen), 0);
        } else { // OPAQUE: the background colour does
            EXPECT_EQ(CountNear(image, kWhite), 0);
            EXPECT_GT(CountNear(image, kGreen), 100);
        }
    }
}

TEST(EmfPlayback, EmfPlusCommentsAndUnknownRecordsAreSkipped)
{
    EmfWriter w;
    w.Comment(QByteArray("EMF+\x01\x40\x00\x00\x1c\x00\x00\x00", 12));
    w.Raw(9999, QByteArray(20, '\x7f'));
    RedFill(w);
    w.Rectangle(0, 0, 100, 100);
    EXPECT_TRUE(Near(Render(w.Finish()).pixel(50, 50), kRed));
}

TEST(EmfPlayback, NothingAfterTheEndRecordIsPlayed)
{
    EmfWriter w;
    RedFill(w);
    w.Raw(14, QByteArray(12, '\0'));
    w.Rectangle(0, 0, 100, 100);
    EXPECT_TRUE(Near(Render(w.Finish()).pixel(50, 50), kWhite));
}

} // namespace
