#include "platform/metafile/PageMetafile.h"
#include "platform/metafile/SharedDrawings.h"
#include "platform/text/DrawText.h"
#include "tests/support/Letterhead.h"
#include "tests/support/PageRecords.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace platform;

namespace {

const QRectF kTop = wydtest::kLetterheadPlace;
const int kLetterhead = 0; // the key the letterhead is shared under

// A page: its own state, the letterhead (shared or drawn in place), then text and a hatched fill
// that take the page's state again.
struct Page {
    QRectF target;
    std::function<void(QPainter &)> before = [](QPainter &) {};
};

std::vector<PageMetafile> Record(const std::vector<Page> &pages, SharedDrawings *shared)
{
    std::vector<PageMetafile> out(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        QPainter p(&out[i]);
        p.setBrush(QBrush(Qt::blue, Qt::Dense5Pattern));
        pages[i].before(p);
        const auto draw = [&](QPainter &q) { wydtest::DrawLetterhead(q, pages[i].target); };
        shared ? shared->Draw(p, &kLetterhead, pages[i].target, draw) : draw(p);
        TRect r{100, 1500, 900, 1560};
        DrawTextEx(&p, CreateFont(-20, -9, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New"),
                   QStringLiteral("pozycja"), r, DT_NOPREFIX | DT_NOCLIP);
        p.drawRect(QRect(100, 1600, 400, 200));
    }
    return out;
}

// A 300-row band at top, played as band printing plays it.
QImage Band(const PageMetafile &page, int top)
{
    QImage band(page.Size().width(), 300, QImage::Format_RGB32);
    band.fill(Qt::white);
    QPainter p(&band);
    page.EnumerateVisible(p, QRectF(QPointF(0, -top), page.Size()), QRectF(0, 0, band.width(), band.height()), {});
    return band;
}

TEST(SharedDrawings, PagesReferToOneRecordingAndDrawAsIfTheyHeldIt)
{
    const auto shift = [](QPainter &p) { p.translate(0, 40); };
    const auto origin = [](QPainter &p) { p.setBrushOrigin(5, 5); };
    const struct {
        const char *name;
        std::vector<Page> pages;
        int recordings;
    } cases[] = {
        {"the same place on every page", {{kTop}, {kTop}, {kTop}, {kTop}}, 1},
        {"the first page's at another place", {{kTop.translated(0, 300)}, {kTop}, {kTop}}, 2},
        {"under a moved painter", {{kTop}, {kTop, shift}, {kTop, shift}, {kTop}}, 2},
        {"under another pen", {{kTop, [](QPainter &p) { p.setPen(Qt::red); }}, {kTop}}, 2},
        {"after the page moved its brush origin", {{kTop, origin}, {kTop, origin}, {kTop}}, 2},
    };
    PageMetafile alone;
    {
        QPainter p(&alone);
        wydtest::DrawLetterhead(p, kTop);
    }
    const qsizetype letterheadBytes = alone.MemoryBytes() - PageMetafile().MemoryBytes();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SharedDrawings shared;
        const std::vector<PageMetafile> referring = Record(c.pages, &shared), inPlace = Record(c.pages, nullptr);
        EXPECT_EQ(shared.Count(), c.recordings);
        QSet<qint64> counted, countedInPlace;
        qsizetype bytes = 0, bytesInPlace = 0;
        for (size_t i = 0; i < c.pages.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(wydtest::RenderPage(referring[i]) == wydtest::RenderPage(inPlace[i]));
            EXPECT_TRUE(Band(referring[i], 0) == Band(inPlace[i], 0));
            EXPECT_TRUE(Band(referring[i], 1450) == Band(inPlace[i], 1450));
            EXPECT_EQ(wydtest::ReadPage(referring[i]).JoinedTexts(), wydtest::ReadPage(inPlace[i]).JoinedTexts());
            bytes += referring[i].MemoryBytes(&counted);
            bytesInPlace += inPlace[i].MemoryBytes(&countedInPlace);
        }
        // Each recording is counted once; one of its own costs a little more than its records.
        const qsizetype repeats = qsizetype(c.pages.size()) - c.recordings;
        EXPECT_LT(bytes + repeats * letterheadBytes * 3 / 4, bytesInPlace + c.recordings * 1024);
    }
}

} // namespace
