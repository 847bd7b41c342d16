#include "platform/metafile/PageMetafile.h"
#include "platform/metafile/SharedDrawings.h"
#include "platform/text/DrawText.h"
#include "tests/support/PageRecords.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace platform;

namespace {

// A letterhead that leaves the painter elsewhere than it found it inside: its own clip, pens,
// brushes and brush origin, text and a picture, all within save and restore.
void Letterhead(QPainter &p, const QRectF &target)
{
    p.save();
    p.setClipRect(target.adjusted(10, 10, -10, -10), Qt::IntersectClip);
    p.setPen(QPen(Qt::darkGreen, 5));
    p.setBrush(QBrush(Qt::darkRed, Qt::DiagCrossPattern));
    p.setBrushOrigin(7, 3);
    p.drawRect(target.adjusted(20, 20, -400, -20));
    QImage logo(30, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkCyan);
    p.drawImage(QRectF(target.right() - 150, target.top() + 20, 90, 60), logo);
    // A vignette of many points: most of the letterhead's bytes.
    QPolygonF wave;
    for (int i = 0; i < 2000; ++i)
        wave << QPointF(target.left() + 20 + i * 0.5, target.top() + 120 + 20 * std::sin(i / 40.0));
    p.drawPolyline(wave);
    const TFont font = CreateFont(-24, -11, 0, 0, 700, 0, 0, 0, 238, 0, 0, 1, 0, "Arial");
    TRect r{int(target.left()) + 300, int(target.top()) + 30, int(target.left()) + 900, int(target.top()) + 90};
    DrawTextEx(&p, font, QStringLiteral("Firma Przykład Sp. z o.o."), r, DT_NOPREFIX | DT_NOCLIP);
    p.restore();
}

const int kLetterhead = 0; // the key the letterhead is shared under

// What a page draws around its letterhead; the text right after it takes the state the page had.
struct Page {
    QRectF target;
    std::function<void(QPainter &)> before = [](QPainter &) {};
};

void DrawPage(QPainter &p, const Page &page, SharedDrawings *shared)
{
    const TFont font = CreateFont(-20, -9, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
    p.setBrush(QBrush(Qt::blue, Qt::Dense5Pattern));
    page.before(p);
    if (shared)
        shared->Draw(p, &kLetterhead, page.target, [&](QPainter &q) { Letterhead(q, page.target); });
    else
        Letterhead(p, page.target);
    TRect r{100, 1500, 900, 1560};
    DrawTextEx(&p, font, QStringLiteral("pozycja"), r, DT_NOPREFIX | DT_NOCLIP);
    p.drawRect(QRect(100, 1600, 400, 200)); // a hatched fill at the page's brush origin
}

std::vector<PageMetafile> Record(const std::vector<Page> &pages, SharedDrawings *shared)
{
    std::vector<PageMetafile> out(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        QPainter p(&out[i]);
        DrawPage(p, pages[i], shared);
    }
    return out;
}

QImage Band(const PageMetafile &page, int top)
{
    QImage band(page.Size().width(), 300, QImage::Format_RGB32);
    band.fill(Qt::white);
    QPainter p(&band);
    page.EnumerateVisible(p, QRectF(0, -top, page.Size().width(), page.Size().height()),
                          QRectF(0, 0, band.width(), band.height()), {});
    return band;
}

const QRectF kTop(0, 0, 1429, 160);

// What the letterhead's records take on a page of their own.
qsizetype LetterheadBytes()
{
    PageMetafile empty, page;
    {
        QPainter p(&page);
        Letterhead(p, kTop);
    }
    return page.MemoryBytes() - empty.MemoryBytes();
}

TEST(SharedDrawings, PagesReferToOneRecordingAndDrawAsIfTheyHeldIt)
{
    const auto shift = [](QPainter &p) { p.translate(0, 40); };
    const auto clip = [](QPainter &p) { p.setClipRect(QRect(0, 0, 1000, 2000)); };
    const auto origin = [](QPainter &p) { p.setBrushOrigin(5, 5); };
    const auto pen = [](QPainter &p) { p.setPen(QPen(Qt::red, 2)); };
    const struct {
        const char *name;
        std::vector<Page> pages;
        int recordings;
    } cases[] = {
        {"the same place on every page", {{kTop}, {kTop}, {kTop}, {kTop}}, 1},
        {"the first page's at another place", {{kTop.translated(0, 300)}, {kTop}, {kTop}}, 2},
        {"under a moved painter", {{kTop}, {kTop, shift}, {kTop, shift}, {kTop}}, 2},
        {"under a clip", {{kTop}, {kTop, clip}, {kTop}}, 2},
        {"after the page moved its brush origin", {{kTop, origin}, {kTop, origin}, {kTop}}, 2},
        {"with another pen", {{kTop, pen}, {kTop}}, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SharedDrawings shared;
        const std::vector<PageMetafile> referring = Record(c.pages, &shared);
        const std::vector<PageMetafile> inline_ = Record(c.pages, nullptr);
        EXPECT_EQ(shared.Count(), c.recordings);
        for (size_t i = 0; i < c.pages.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(wydtest::RenderPage(referring[i]) == wydtest::RenderPage(inline_[i]));
            EXPECT_TRUE(Band(referring[i], 0) == Band(inline_[i], 0));
            EXPECT_TRUE(Band(referring[i], 1450) == Band(inline_[i], 1450));
            EXPECT_EQ(wydtest::ReadPage(referring[i]).JoinedTexts(), wydtest::ReadPage(inline_[i]).JoinedTexts());
        }
        // The pages together hold each recording once.
        QSet<qint64> counted, countedInline;
        qsizetype bytes = 0, bytesInline = 0;
        for (size_t i = 0; i < c.pages.size(); ++i) {
            bytes += referring[i].MemoryBytes(&counted);
            bytesInline += inline_[i].MemoryBytes(&countedInline);
        }
        const qsizetype repeats = qsizetype(c.pages.size()) - c.recordings;
        // A recording of its own costs a little more than the records it holds.
        EXPECT_LT(bytes + repeats * LetterheadBytes() * 3 / 4, bytesInline + c.recordings * 1024);
    }
}

TEST(SharedDrawings, DrawsDirectlyWhereNothingIsRecorded)
{
    SharedDrawings shared;
    QImage direct(1429, 200, QImage::Format_RGB32), through(direct.size(), QImage::Format_RGB32);
    direct.fill(Qt::white);
    through.fill(Qt::white);
    {
        QPainter p(&direct);
        Letterhead(p, kTop);
    }
    {
        QPainter p(&through);
        shared.Draw(p, &kLetterhead, kTop, [](QPainter &q) { Letterhead(q, kTop); });
    }
    EXPECT_TRUE(through == direct);
    EXPECT_EQ(shared.Count(), 0);

    // A shared drawing drawn within another is part of it.
    PageMetafile page;
    {
        QPainter p(&page);
        shared.Draw(p, &direct, kTop,
                    [&](QPainter &q) { shared.Draw(q, &kLetterhead, kTop, [](QPainter &r) { Letterhead(r, kTop); }); });
    }
    EXPECT_EQ(shared.Count(), 1);
    EXPECT_EQ(wydtest::ReadPage(page).JoinedTexts(), QStringLiteral("Firma Przykład Sp. z o.o."));
}

} // namespace
