#include "printdialog/PodgladArkuszy.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using M = TPrintMode;

// Pages that can be told apart on the screen: each is filled with a colour of its own.
class Pages {
public:
    explicit Pages(int count)
    {
        for (int i = 0; i < count; ++i) {
            pages_.push_back(std::make_unique<platform::PageMetafile>());
            QPainter p(pages_.back().get());
            p.fillRect(QRect(QPoint(0, 0), pages_.back()->Size()), Colour(i + 1));
            list_.append(pages_.back().get());
        }
    }
    static QRgb Colour(int page) { return QColor::fromHsv(page * 37 % 360, 200, 160).rgb(); }
    const QList<const platform::PageMetafile *> &List() const { return list_; }

private:
    std::vector<std::unique_ptr<platform::PageMetafile>> pages_;
    QList<const platform::PageMetafile *> list_;
};

PageSelection Range(int first, int last)
{
    PageSelection s;
    for (int p = first; p <= last; ++p)
        s.append(p);
    return s;
}

// "1 2" for sheets of one page, "1|2" for two halves, "front/back", "-" for a blank place.
QString Describe(const QList<TArkuszPodgladu> &sheets, bool halves)
{
    auto place = [](int page) { return page ? QString::number(page) : QStringLiteral("-"); };
    auto side = [&](const TSheetSide &s) { return halves ? place(s.Left) + u'|' + place(s.Right) : place(s.Left); };
    QStringList out;
    for (const TArkuszPodgladu &sheet : sheets)
        out << (sheet.MaTyl ? side(sheet.Przod) + u'/' + side(sheet.Tyl) : side(sheet.Przod));
    return out.join(u' ');
}

// The strip shown offscreen at its own height and the given width.
std::unique_ptr<TPodgladArkuszy> Shown(const TArkuszeWejscie &input, int width = 640)
{
    auto strip = std::make_unique<TPodgladArkuszy>();
    strip->resize(width, strip->sizeHint().height());
    strip->show();
    strip->UstawWejscie(input);
    QCoreApplication::processEvents();
    return strip;
}

QImage Grab(TPodgladArkuszy &strip)
{
    return strip.viewport()->grab().toImage();
}

bool IsWhite(QRgb c)
{
    return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245;
}

} // namespace

TEST(SheetPreview, ShowsTheSheetsInTheOrderThePrinterGetsThem)
{
    const Pages pages(8);
    const struct Row {
        const char *name;
        M mode;
        PageSelection selection;
        bool reverse, manual, automatic;
        const char *sheets;
    } rows[] = {
        {"normal", M::Normalne, Range(1, 3), false, false, false, "1 2 3"},
        // Reverse order is for printers that stack face up: the last page comes out first.
        {"normal reversed", M::Normalne, Range(1, 3), true, false, false, "3 2 1"},
        // Three pages on two sheets: the second sheet's back stays blank.
        {"normal manual two-sided", M::Normalne, Range(1, 3), false, true, false, "1/2 3/-"},
        {"normal manual two-sided reversed", M::Normalne, Range(1, 3), true, true, false, "3/- 1/2"},
        {"normal automatic two-sided", M::Normalne, Range(1, 3), false, false, true, "1/2 3/-"},
        // The widget shows pages, not positions: a page set with gaps keeps its numbers.
        {"normal page set", M::Normalne, {2, 5, 7}, false, false, false, "2 5 7"},
        {"reduced", M::Zmniejszone, Range(1, 5), false, false, false, "1|2 3|4 5|-"},
        // Reversed, the padded half goes out first with page 5 on its left.
        {"reduced reversed", M::Zmniejszone, Range(1, 5), true, false, false, "5|- 3|4 1|2"},
        // Two-sided pads to whole sheets of four pages.
        {"reduced two-sided", M::Zmniejszone, Range(1, 5), false, true, false, "1|2/3|4 5|-/-|-"},
        {"reduced automatic reversed", M::Zmniejszone, Range(1, 8), true, false, true, "5|6/7|8 1|2/3|4"},
        // The worked booklet: (8,1), (2,7), (6,3), (4,5).
        {"booklet", M::Ksiazeczka, Range(1, 8), false, false, false, "8|1/2|7 6|3/4|5"},
        {"booklet automatic", M::Ksiazeczka, Range(1, 8), false, false, true, "8|1/2|7 6|3/4|5"},
        // Whole sheets change places; each keeps its front before its back.
        {"booklet reversed", M::Ksiazeczka, Range(1, 8), true, false, false, "6|3/4|5 8|1/2|7"},
        // Five pages fill eight places: the blanks fall at the end of the booklet, round the cover.
        {"booklet padded", M::Ksiazeczka, Range(1, 5), false, false, false, "-|1/2|- -|3/4|5"},
        {"booklet page set", M::Ksiazeczka, {3, 4, 6, 8}, false, false, true, "8|3/4|6"},
        {"nothing chosen", M::Zmniejszone, {}, false, true, false, ""},
    };
    TPodgladArkuszy strip;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        strip.UstawWejscie({pages.List(), row.selection, row.mode, row.reverse, row.manual, row.automatic});
        EXPECT_EQ(Describe(strip.Arkusze(), row.mode != M::Normalne), QString::fromLatin1(row.sheets));
    }
}

TEST(SheetPreview, DrawsPagesInTheirPlacesAndLeavesBlanksWhite)
{
    // Reduced, three pages: the second sheet holds page 3 on its left half and a blank on its right.
    const Pages pages(3);
    auto strip = Shown({pages.List(), Range(1, 3), M::Zmniejszone});
    const QImage image = Grab(*strip);
    const QRectF page3 = strip->MiejsceStrony(1, false, false), blank = strip->MiejsceStrony(1, false, true);
    ASSERT_TRUE(image.rect().contains(blank.toRect()));
    EXPECT_EQ(image.pixel(page3.center().toPoint()), Pages::Colour(3));
    EXPECT_EQ(image.pixel(strip->MiejsceStrony(0, false, true).center().toPoint()), Pages::Colour(2));
    for (const QPoint p : {blank.center().toPoint(), blank.topLeft().toPoint() + QPoint(2, 2),
                           blank.bottomRight().toPoint() - QPoint(2, 2)})
        EXPECT_TRUE(IsWhite(image.pixel(p))) << p.x() << "," << p.y();
    // A null in the page list is drawn as blank paper too.
    QList<const platform::PageMetafile *> withNull = pages.List();
    withNull[0] = nullptr;
    strip->UstawWejscie({withNull, Range(1, 3), M::Zmniejszone});
    EXPECT_TRUE(IsWhite(Grab(*strip).pixel(strip->MiejsceStrony(0, false, false).center().toPoint())));
}

TEST(SheetPreview, MarksTheFoldOfBookletsAndTheTurnOfManualPrinting)
{
    const Pages pages(8);
    const struct Row {
        const char *name;
        M mode;
        bool manual, automatic;
        bool fold, turn;
    } rows[] = {
        {"booklet, turned by hand", M::Ksiazeczka, false, false, true, true},
        {"booklet, the printer turns", M::Ksiazeczka, false, true, true, false},
        {"reduced two-sided by hand", M::Zmniejszone, true, false, false, true},
        {"reduced, the printer turns", M::Zmniejszone, false, true, false, false},
        {"normal two-sided by hand", M::Normalne, true, false, false, true},
        // Both boxes set: the printer does it, nobody turns anything.
        {"normal, both set", M::Normalne, true, true, false, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto strip = Shown({pages.List(), Range(1, 8), row.mode, false, row.manual, row.automatic});
        const QImage image = Grab(*strip);
        // The fold runs down the middle of the sheet, in the paper between the two pages' places.
        const QRectF left = strip->MiejsceStrony(0, false, false), right = strip->MiejsceStrony(0, false, true);
        if (row.mode != M::Normalne) {
            const int middle = qRound((left.right() + right.left()) / 2);
            int grey = 0;
            for (int y = int(left.top()); y < int(left.bottom()); ++y)
                grey += IsWhite(image.pixel(middle, y)) ? 0 : 1;
            EXPECT_EQ(grey > 10, row.fold) << grey;
        }
        // The arrow sits in the gap between the front and the back (a normal side has one place).
        const QRectF front = strip->MiejsceStrony(0, false, true);
        const QRectF back = strip->MiejsceStrony(0, true, false);
        int blue = 0;
        for (int x = int(front.right()) + 1; x < int(back.left()); ++x)
            for (int y = 0; y < image.height(); ++y) {
                const QRgb c = image.pixel(x, y);
                blue += qBlue(c) > qRed(c) + 60 ? 1 : 0;
            }
        EXPECT_EQ(blue > 10, row.turn) << blue;
    }
}

TEST(SheetPreview, DrawsOnlyTheSheetsInViewAndKeepsTheirPictures)
{
    const Pages pages(1000);
    const TArkuszeWejscie booklet{pages.List(), Range(1, 1000), M::Ksiazeczka};
    auto strip = Shown(booklet);
    // The places in view, each holding a page of its own (1,000 pages fill whole booklet sheets).
    auto inView = [&] {
        int places = 0;
        const QRectF view = strip->viewport()->rect();
        for (int sheet = 0; sheet < int(strip->Arkusze().size()); ++sheet)
            for (const bool back : {false, true})
                for (const bool right : {false, true})
                    places += view.intersects(strip->MiejsceStrony(sheet, back, right)) ? 1 : 0;
        return places;
    };
    Grab(*strip);
    const int first = inView();
    ASSERT_GT(first, 0);
    EXPECT_LT(first, 40);
    EXPECT_EQ(strip->ZagraneStrony(), first);

    strip->horizontalScrollBar()->setValue(strip->horizontalScrollBar()->maximum());
    Grab(*strip);
    EXPECT_EQ(strip->ZagraneStrony(), first + inView());

    // Back at the start and after a change and its undoing, the kept pictures serve again.
    const int played = strip->ZagraneStrony();
    strip->horizontalScrollBar()->setValue(0);
    Grab(*strip);
    TArkuszeWejscie reversed = booklet;
    reversed.Odwrotnie = true;
    strip->UstawWejscie(reversed);
    strip->UstawWejscie(booklet);
    Grab(*strip);
    EXPECT_EQ(strip->ZagraneStrony(), played);

    // Other pages are other pictures: the kept ones go.
    const Pages others(1000);
    strip->UstawWejscie({others.List(), Range(1, 1000), M::Ksiazeczka});
    Grab(*strip);
    EXPECT_EQ(strip->ZagraneStrony(), played + first);
}
