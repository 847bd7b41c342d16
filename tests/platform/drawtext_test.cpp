#include "platform/metafile/PageMetafile.h"
#include "platform/text/CodePage.h"
#include "platform/text/DrawText.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Courier New stretched to an average width of 10 at 20 pixels: every character of the monospaced
// face is then exactly 10 units wide, and a line is round(20 x 1.1328) = 23 units high.
TFont Mono()
{
    return CreateFont(-20, -10, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, QStringLiteral("Courier New"));
}

constexpr int kLine = 23;

struct TextRun {
    QPointF origin;
    int glyphs = 0;
    QList<quint32> ids;
};

// Draws on a page and reads back the text runs and clip records it produced.
struct Recorded {
    int height = 0;
    QList<TextRun> runs;
    QList<QRectF> clips;
};

Recorded DrawOnPage(const QString &text, TRect rect, unsigned flags)
{
    PageMetafile page;
    Recorded out;
    {
        QPainter p(&page);
        out.height = DrawTextEx(&p, Mono(), text, rect, flags);
    }
    QImage sink(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sink);
    page.Enumerate(p, QRectF(0, 0, 10, 10), [&](MetaRecord &r) {
        if (r.type == EmrExtTextOutW)
            out.runs.append({r.origin, int(r.glyphs.size()), r.glyphs});
        if (r.type == EmrExtSelectClipRgn && ClipModeOf(r.value) == ClipMode::Rect)
            out.clips.append(r.rect);
        return true;
    });
    return out;
}

struct CalcCase {
    const char *name;
    QString text;
    int width;
    unsigned flags;
    int height;    // expected return value and rectangle height
    int rectWidth; // expected width of the adjusted rectangle
};

} // namespace

TEST(DrawTextEx, CalcRectMeasuresLikeGdi)
{
    const unsigned wrap = DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT | DT_NOCLIP;
    const unsigned edit = wrap | DT_EDITCONTROL;
    const CalcCase cases[] = {
        {"one line bounds its last character", "Hello", 200, DT_CALCRECT | DT_NOPREFIX, kLine, 50},
        {"empty text is one empty line", "", 200, DT_CALCRECT, kLine, 0},
        {"wraps after the last word that fits", "aaa bbb ccc", 75, wrap, 2 * kLine, 70},
        {"a line may fill the width exactly", "aaa bbb ccc", 70, wrap, 2 * kLine, 70},
        {"one unit less moves the word down", "aaa bbb ccc", 69, wrap, 3 * kLine, 30},
        {"blanks at a break are swallowed", "aaa     bbb", 50, wrap, 2 * kLine, 30},
        {"leading blanks stay", "  aaa", 100, wrap, kLine, 50},
        {"a too long word overflows and widens", "abcdefghij", 35, wrap, kLine, 100},
        {"the long word gets its own line", "ab abcdefghij cd", 35, wrap, 3 * kLine, 100},
        {"edit control breaks the long word", "abcdefghij", 35, edit, 4 * kLine, 30},
        {"edit control first breaks at blanks", "ab cdefghij", 35, edit, 4 * kLine, 30},
        {"edit control at width 0 takes a character a line", "abc d", 0, edit, 4 * kLine, 10},
        {"CR LF, LF and CR all break", "a\r\nbb\ncc\rddd", 200, DT_CALCRECT, 4 * kLine, 30},
        {"a break at the end adds no line", "abc\r\n", 200, DT_CALCRECT, kLine, 30},
        {"an empty line counts", "a\n\nb", 200, DT_CALCRECT, 3 * kLine, 10},
        {"LF CR is two breaks", "a\n\rb", 200, DT_CALCRECT, 3 * kLine, 10},
        {"trailing blanks do not count against the width", "aaa   ", 30, wrap, kLine, 60},
        {"a later paragraph wraps on its own", "ab\r\naaa bbb", 35, wrap, 3 * kLine, 30},
        {"a paragraph after a wide one fits", "aaa bbb\nab", 70, wrap, 2 * kLine, 70},
        {"a break at the end of wrapped text adds no line", "aaa bbb\r\n", 35, wrap, 2 * kLine, 30},
        {"single line ignores breaks", "ab\r\ncd", 200, DT_CALCRECT | DT_SINGLELINE, kLine, 40},
        {"without word break long lines stay", "aaa bbb ccc", 35, DT_CALCRECT, kLine, 110},
        {"ellipsis shortens to fit", "abcdefghij", 65, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS, kLine, 60},
        {"ellipsis leaves fitting text alone", "abcdef", 65, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS, kLine, 60},
        {"prefixes: && is & and & is dropped", "a&&b&c", 200, DT_CALCRECT, kLine, 40},
        {"no prefix keeps every ampersand", "a&&b&c", 200, DT_CALCRECT | DT_NOPREFIX, kLine, 60},
        {"bottom alignment measures the text", "abc", 200, DT_CALCRECT | DT_SINGLELINE | DT_BOTTOM, kLine, 30},
    };
    for (const CalcCase &c : cases) {
        SCOPED_TRACE(c.name);
        TRect r{5, 7, 5 + c.width, 17};
        const int h = DrawTextEx(nullptr, Mono(), c.text, r, c.flags);
        EXPECT_EQ(h, c.height);
        EXPECT_EQ(r.Top, 7);
        EXPECT_EQ(r.Bottom, 7 + c.height);
        EXPECT_EQ(r.Left, 5);
        EXPECT_EQ(r.Width(), c.rectWidth);
        // The height alone, measured the short way where it can be.
        EXPECT_EQ(TextHeight(Mono(), c.text, c.width, c.flags), c.height);
    }
}

TEST(DrawTextEx, CalcRectDrawsNothing)
{
    const Recorded rec = DrawOnPage("abc", TRect{0, 0, 100, 10}, DT_CALCRECT);
    EXPECT_TRUE(rec.runs.isEmpty());
}

TEST(DrawTextEx, AlignmentPlacesEachLine)
{
    struct Case {
        const char *name;
        unsigned flags;
        double x;
    } cases[] = {
        {"left", 0, 100},
        {"right: 300 - 30", DT_RIGHT, 270},
        {"center: (100 + 300 - 30) / 2", DT_CENTER, 185},
    };
    const int ascent = Mono().Ascent();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Recorded rec = DrawOnPage("abc", TRect{100, 50, 300, 150}, c.flags | DT_NOCLIP);
        ASSERT_EQ(rec.runs.size(), 1);
        EXPECT_EQ(rec.runs[0].origin, QPointF(c.x, 50 + ascent));
        EXPECT_EQ(rec.height, kLine);
    }
}

TEST(DrawTextEx, WrappedLinesFollowEachOther)
{
    const Recorded rec =
        DrawOnPage("aaa bbb cc", TRect{0, 0, 75, 0}, DT_WORDBREAK | DT_NOCLIP | DT_RIGHT | DT_EDITCONTROL);
    ASSERT_EQ(rec.runs.size(), 2);
    const int ascent = Mono().Ascent();
    EXPECT_EQ(rec.runs[0].origin, QPointF(75 - 70, ascent));
    EXPECT_EQ(rec.runs[0].glyphs, 7);
    EXPECT_EQ(rec.runs[1].origin, QPointF(75 - 20, ascent + kLine));
    EXPECT_EQ(rec.height, 2 * kLine);
}

TEST(DrawTextEx, BottomAlignedSingleLine)
{
    const int ascent = Mono().Ascent();
    // The return value is the offset from the top to the bottom of the drawn text.
    Recorded rec = DrawOnPage("abc", TRect{0, 100, 200, 200}, DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP);
    ASSERT_EQ(rec.runs.size(), 1);
    EXPECT_EQ(rec.runs[0].origin.y(), 200 - kLine + ascent);
    EXPECT_EQ(rec.height, 100);
    // A rectangle of no height puts the text above its top.
    rec = DrawOnPage("abc", TRect{0, 100, 200, 100}, DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP);
    ASSERT_EQ(rec.runs.size(), 1);
    EXPECT_EQ(rec.runs[0].origin.y(), 100 - kLine + ascent);
    EXPECT_EQ(rec.height, 0);
}

TEST(DrawTextEx, EndEllipsisDrawsTheDots)
{
    const Recorded rec = DrawOnPage("abcdefghij", TRect{0, 0, 65, 30}, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    ASSERT_EQ(rec.runs.size(), 1);
    ASSERT_EQ(rec.runs[0].glyphs, 6); // "abc" and "..."
    EXPECT_EQ(rec.runs[0].ids[3], rec.runs[0].ids[5]);
    EXPECT_NE(rec.runs[0].ids[2], rec.runs[0].ids[3]);
}

TEST(DrawTextEx, ClipsToTheRectangleUnlessNoClip)
{
    Recorded rec = DrawOnPage("abc", TRect{10, 20, 110, 60}, 0);
    ASSERT_FALSE(rec.clips.isEmpty());
    EXPECT_EQ(rec.clips[0], QRectF(10, 20, 100, 40));
    rec = DrawOnPage("abc", TRect{10, 20, 110, 60}, DT_NOCLIP);
    EXPECT_TRUE(rec.clips.isEmpty());

    // Pixels: a line too long for its box leaves no ink right of the box.
    QImage img(400, 60, QImage::Format_ARGB32_Premultiplied);
    for (unsigned flags : {0u, unsigned(DT_NOCLIP)}) {
        img.fill(Qt::white);
        {
            QPainter p(&img);
            TRect r{0, 0, 50, 40};
            DrawTextEx(&p, Mono(), QStringLiteral("WWWWWWWWWWWW"), r, flags);
        }
        int inkRight = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 52; x < img.width(); ++x)
                inkRight += qGray(img.pixel(x, y)) < 128;
        if (flags == DT_NOCLIP)
            EXPECT_GT(inkRight, 50);
        else
            EXPECT_EQ(inkRight, 0);
    }
}

TEST(DrawTextEx, ClippedTextStopsAtTheBottom)
{
    // Two lines in a box one and a half lines high: an edit control hides the partial second line.
    const TRect box{0, 0, 100, kLine + kLine / 2};
    EXPECT_EQ(DrawOnPage("a\nb", box, DT_EDITCONTROL).runs.size(), 1);
    EXPECT_EQ(DrawOnPage("a\nb", box, 0).runs.size(), 2);
    EXPECT_EQ(DrawOnPage("a\nb\nc", box, 0).runs.size(), 2);
    EXPECT_EQ(DrawOnPage("a\nb\nc", box, DT_NOCLIP | DT_EDITCONTROL).runs.size(), 3);
}

TEST(DrawTextEx, PolishTextFromWindows1250Draws)
{
    const QString text = DecodeCharset(QByteArray("Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1"), 238);
    ASSERT_EQ(text, QString::fromUtf8("Zażółć gęślą jaźń"));
    const Recorded rec = DrawOnPage(text, TRect{0, 0, 400, 40}, DT_NOPREFIX | DT_NOCLIP);
    ASSERT_EQ(rec.runs.size(), 1);
    ASSERT_EQ(rec.runs[0].glyphs, 17);
    for (quint32 id : rec.runs[0].ids)
        EXPECT_NE(id, 0u) << "a character fell to the missing-glyph box";
    TRect r{0, 0, 400, 40};
    DrawTextEx(nullptr, Mono(), text, r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), 170);

    // Every letter leaves ink of its own: the accented ones differ from their plain forms.
    QImage accented(200, 30, QImage::Format_ARGB32_Premultiplied), plain = accented;
    for (auto [img, s] :
         {std::pair{&accented, QString::fromUtf8("żółćęśąźń")}, std::pair{&plain, QStringLiteral("zolcesazn")}}) {
        img->fill(Qt::white);
        QPainter p(img);
        TRect box{0, 0, 200, 30};
        DrawTextEx(&p, Mono(), s, box, DT_NOCLIP);
    }
    EXPECT_NE(accented, plain);
}
