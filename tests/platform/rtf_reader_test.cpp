// The RTF reader on texts written the way rich-edit controls write them, and on broken ones.
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfTokenizer.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <gtest/gtest.h>

using namespace platform::rtf;

namespace {

struct Recorded : RtfSink {
    std::vector<RtfParagraph> paragraphs;
    std::vector<RtfTableRow> rows;
    std::vector<char> order; // 'p' paragraph, 'r' table row
    int defaultTab = -1;
    void Paragraph(const RtfParagraph &p) override { paragraphs.push_back(p), order.push_back('p'); }
    void TableRow(const RtfTableRow &r) override { rows.push_back(r), order.push_back('r'); }
    void Finish(int tab) override { defaultTab = tab; }
};

Recorded Read(const QByteArray &rtf)
{
    Recorded r;
    ReadRtf(std::string_view(rtf.constData(), std::size_t(rtf.size())), r);
    return r;
}

QString Text(const RtfParagraph &p)
{
    QString s;
    for (const RtfRun &run : p.runs)
        s += run.isPicture ? QString(QChar::ObjectReplacementCharacter) : run.text;
    return s;
}

QString AllText(const Recorded &r)
{
    QStringList parts;
    for (const RtfParagraph &p : r.paragraphs)
        parts << Text(p);
    return parts.join('|');
}

// The header a rich-edit control writes for Polish text.
const QByteArray kHead = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}"
                         "{\\f1\\froman\\fcharset204 Times New Roman Cyr;}{\\f2\\fnil\\fcharset128 MS Mincho;}}"
                         "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                         "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1\\pard\\f0\\fs20 ";

QByteArray Doc(const QByteArray &body)
{
    return kHead + body + "\\par\r\n}\r\n";
}

} // namespace

TEST(RtfTokenizer, ControlWordsParametersAndDelimiters)
{
    Tokenizer t("\\fs20 x\\li-360\\'e6\\*\\bin3 a}b{");
    Token k = t.Next();
    EXPECT_EQ(k.word, "fs");
    EXPECT_EQ(k.param, 20);
    EXPECT_EQ(t.Next().data, "x"); // the space after the parameter was its delimiter
    k = t.Next();
    EXPECT_EQ(k.word, "li");
    EXPECT_EQ(k.param, -360);
    k = t.Next();
    EXPECT_EQ(k.type, TokenType::Hex);
    EXPECT_EQ(k.param, 0xe6);
    EXPECT_EQ(t.Next().symbol, '*');
    k = t.Next();
    EXPECT_EQ(k.type, TokenType::Binary);
    EXPECT_EQ(k.data, "a}b"); // binary data may hold braces
    EXPECT_EQ(t.Next().type, TokenType::GroupOpen);
    EXPECT_EQ(t.Next().type, TokenType::End);
}

TEST(RtfTokenizer, OverlongInputIsCutNotTrusted)
{
    Tokenizer t("\\fs99999999999999999999 \\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop1 \\bin50 ab");
    Token k = t.Next();
    EXPECT_EQ(k.param, Tokenizer::kMaxParam);
    k = t.Next();
    EXPECT_EQ(int(k.word.size()), Tokenizer::kMaxWordLength);
    EXPECT_EQ(k.param, 1);
    k = t.Next();
    EXPECT_EQ(k.type, TokenType::Binary);
    EXPECT_EQ(k.data, "ab"); // \bin clamped to the data left
    EXPECT_EQ(t.Next().type, TokenType::End);
}

TEST(RtfReader, TextDecoding)
{
    struct Case {
        const char *name;
        QByteArray body;
        QString expected;
    };
    const Case cases[] = {
        {"hex bytes by the font's charset 238", "Za\\'bf\\'f3\\'b3\\'e6 g\\'ea\\'9cl\\'b9 ja\\'9f\\'f1",
         QString::fromUtf8("Zażółć gęślą jaźń")},
        {"\\u with one fallback character", "Za\\u380?\\u243?\\u322?\\u263?", QString::fromUtf8("Zażółć")},
        {"\\uc2 skips a hex escape and a character", "\\uc2\\u380\\'bf?x", QString::fromUtf8("żx")},
        {"\\uc is scoped to its group", "{\\uc2\\u380??}\\u322?x", QString::fromUtf8("żłx")},
        {"fallback skipping stops at a brace", "\\uc3\\u380?{}a", QString::fromUtf8("ża")},
        {"a control word counts as one fallback", "\\u380\\'bf\\u322\\b0 x", QString::fromUtf8("żłx")},
        {"negative \\u is 16-bit", "\\u-3913?", QString(QChar(0xF0B7))},
        {"Cyrillic font decodes as 1251", "\\f1\\'cf\\'f0\\'e8", QString::fromUtf8("При")},
        {"double-byte code page decodes pairs", "\\f2\\'82\\'a0", QString::fromUtf8("あ")},
        {"symbols written as words", "a\\emdash b\\~c\\{\\}\\\\\\lquote\\rdblquote",
         QString::fromUtf8("a—b\u00a0c{}\\‘”")},
        {"line ends in the file are not text", "a\r\nb\rc", "abc"},
        {"tab and line break", "a\\tab b\\line c", QString("a\tb") + QChar::LineSeparator + "c"},
        {"hidden text is dropped", "a{\\v hidden}b", "ab"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AllText(Read(Doc(c.body))), c.expected);
    }
}

TEST(RtfReader, CodePageFallbacks)
{
    // \fcharset1 follows \ansicpg; without a font or \ansicpg bytes decode as Windows-1250.
    EXPECT_EQ(AllText(Read("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset1 X;}}\\f0 \\'cf}")),
              QString::fromUtf8("П"));
    EXPECT_EQ(AllText(Read("{\\rtf1\\ansi \\'b3}")), QString::fromUtf8("ł"));
    EXPECT_EQ(AllText(Read("{\\rtf1\\ansi\\ansicpg1252 \\'b3}")), QString::fromUtf8("³"));
    // A code page that is not a Windows ANSI one decodes as the host's own.
    EXPECT_EQ(AllText(Read("{\\rtf1\\ansi\\ansicpg65001 \\'b3}")), QString::fromUtf8("ł"));
}

TEST(RtfReader, CharacterRuns)
{
    const Recorded r = Read(Doc("a \\b bold\\b0  \\i it\\i0  \\ul under\\ulnone  \\cf1 red\\cf0  \\fs32 big\\fs20  "
                                "\\strike s\\strike0  {\\super 2}\\highlight2 hi"));
    ASSERT_EQ(r.paragraphs.size(), 1u);
    std::map<QString, QTextCharFormat> byText;
    for (const RtfRun &run : r.paragraphs[0].runs)
        byText[run.text.trimmed()] = run.format;
    EXPECT_EQ(byText["a"].fontWeight(), QFont::Normal);
    EXPECT_EQ(byText["a"].fontPointSize(), 10.0);
    EXPECT_EQ(byText["a"].fontFamilies().toStringList().value(0), "Arial"); // " CE" names the charset
    EXPECT_EQ(byText["a"].foreground().color(), QColor(Qt::black));
    EXPECT_EQ(byText["bold"].fontWeight(), QFont::Bold);
    EXPECT_TRUE(byText["it"].fontItalic());
    EXPECT_TRUE(byText["under"].fontUnderline());
    EXPECT_EQ(byText["red"].foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(byText["big"].fontPointSize(), 16.0);
    EXPECT_TRUE(byText["s"].fontStrikeOut());
    EXPECT_EQ(byText["2"].verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(byText["hi"].background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(byText["hi"].fontItalic());
}

TEST(RtfReader, PlainResetsCharacterFormat)
{
    const Recorded r = Read(Doc("\\b\\i\\cf1\\fs40 x\\plain y"));
    ASSERT_EQ(r.paragraphs[0].runs.size(), 2u);
    const QTextCharFormat &y = r.paragraphs[0].runs[1].format;
    EXPECT_EQ(y.fontWeight(), QFont::Normal);
    EXPECT_FALSE(y.fontItalic());
    EXPECT_EQ(y.fontPointSize(), 12.0); // the RTF default, \fs24
    EXPECT_EQ(y.foreground().color(), QColor(Qt::black));
}

TEST(RtfReader, ParagraphFormats)
{
    const Recorded r =
        Read(kHead + "\\ql left\\par\\qr right\\par\\pard\\qc centre\\par\\pard\\qj justified\\par"
                     "\\pard\\li720\\ri360\\fi-360\\sb120\\sa200\\sl276\\slmult1\\tqr\\tx5000\\tx6000 x\\par"
                     "\\pard plain \\qc\\li100\\par\\pard\\sl-300 exact\\par}");
    ASSERT_EQ(r.paragraphs.size(), 7u);
    EXPECT_EQ(r.paragraphs[0].format.alignment, Qt::AlignLeft);
    EXPECT_EQ(r.paragraphs[1].format.alignment, Qt::AlignRight);
    EXPECT_EQ(r.paragraphs[2].format.alignment, Qt::AlignHCenter);
    EXPECT_EQ(r.paragraphs[3].format.alignment, Qt::AlignJustify);
    const RtfParagraphFormat &f = r.paragraphs[4].format;
    EXPECT_EQ(f.leftIndent, 720);
    EXPECT_EQ(f.rightIndent, 360);
    EXPECT_EQ(f.firstIndent, -360);
    EXPECT_EQ(f.spaceBefore, 120);
    EXPECT_EQ(f.spaceAfter, 200);
    EXPECT_EQ(f.lineSpacing, 276);
    EXPECT_TRUE(f.lineMultiple);
    ASSERT_EQ(f.tabs.size(), 2u);
    EXPECT_EQ(f.tabs[0].positionTwips, 5000);
    EXPECT_EQ(f.tabs[0].kind, RtfTab::Kind::Right);
    EXPECT_EQ(f.tabs[1].kind, RtfTab::Kind::Left); // a tab kind applies to the next \tx only
    // \pard resets; properties given after the text still apply to its paragraph.
    EXPECT_EQ(r.paragraphs[5].format.alignment, Qt::AlignHCenter);
    EXPECT_EQ(r.paragraphs[5].format.leftIndent, 100);
    EXPECT_EQ(r.paragraphs[5].format.tabs.size(), 0u);
    EXPECT_EQ(r.paragraphs[6].format.lineSpacing, -300);
    EXPECT_EQ(r.defaultTab, 720);
}

TEST(RtfReader, DestinationsShownAndSkipped)
{
    const Recorded r = Read(kHead + "{\\stylesheet{\\s0 Normal;}}{\\info{\\author me}}{\\header head}"
                                    "{\\*\\unknowndest secret}{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}"
                                    "{\\pntext\\f0 1.\\tab}a "
                                    "{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul link}}} "
                                    "{\\upr{ansi}{\\*\\ud{uni}}}\\par}");
    EXPECT_EQ(AllText(r), "1.\ta link uni");
}

TEST(RtfReader, TableRowsCarryCellsAndWidths)
{
    const Recorded r =
        Read(kHead + "before\\par\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\cellx2000\\cellx5000"
                     "\\pard\\intbl A1\\cell B1\\par second\\cell\\row"
                     "\\trowd\\trgaph108\\cellx2000\\cellx5000\\pard\\intbl A2\\cell\\cell\\row\\pard after\\par}");
    EXPECT_EQ(std::string(r.order.begin(), r.order.end()), "prrp");
    ASSERT_EQ(r.rows.size(), 2u);
    const RtfTableRow &row = r.rows[0];
    EXPECT_EQ(row.cellRight, (std::vector<int>{2000, 5000}));
    EXPECT_EQ(row.gap, 108);
    EXPECT_EQ(row.left, -108);
    EXPECT_TRUE(row.borders);
    ASSERT_EQ(row.cells.size(), 2u);
    EXPECT_EQ(Text(row.cells[0].paragraphs[0]), "A1");
    ASSERT_EQ(row.cells[1].paragraphs.size(), 2u);
    EXPECT_EQ(Text(row.cells[1].paragraphs[1]), "second");
    EXPECT_FALSE(r.rows[1].borders);
    ASSERT_EQ(r.rows[1].cells.size(), 2u); // an empty cell is still a cell
    EXPECT_EQ(AllText(r), "before|after");
}

TEST(RtfReader, Pictures)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    const Recorded r = Read(kHead +
                            "a{\\pict{\\*\\blipuid 0123}\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450"
                            "\\picscalex50\\picscaley200\r\n" +
                            png.toHex() +
                            "}b{\\pict\\emfblip\\picw2540\\pich1270 0100}"
                            "{\\pict\\jpegblip\\picw10\\pich20\\bin4 \xff\xd8}{}}c\\par}");
    ASSERT_EQ(r.paragraphs.size(), 1u);
    const auto &runs = r.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 6u);
    ASSERT_TRUE(runs[1].isPicture);
    EXPECT_EQ(runs[1].picture.kind, RtfPicture::Kind::Png);
    EXPECT_EQ(runs[1].picture.data, png);
    EXPECT_EQ(runs[1].picture.widthTwips, 300);  // goal scaled by 50 %
    EXPECT_EQ(runs[1].picture.heightTwips, 900); // and by 200 %
    // Metafile sizes are in hundredths of a millimetre: 25.4 mm is 1440 twips.
    EXPECT_EQ(runs[3].picture.kind, RtfPicture::Kind::Emf);
    EXPECT_EQ(runs[3].picture.widthTwips, 1440);
    EXPECT_EQ(runs[3].picture.heightTwips, 720);
    // Bitmap sizes are pixels; \bin data may hold braces.
    EXPECT_EQ(runs[4].picture.kind, RtfPicture::Kind::Jpeg);
    EXPECT_EQ(runs[4].picture.data, QByteArray("\xff\xd8}{"));
    EXPECT_EQ(runs[4].picture.widthTwips, 150);
    EXPECT_EQ(Text(r.paragraphs[0]), QString("a\uFFFCb\uFFFC\uFFFCc"));
}

TEST(RtfReader, MalformedInputReturns)
{
    struct Case {
        const char *name;
        QByteArray rtf;
        QString startsWith;
    };
    const Case cases[] = {
        {"missing closing braces", "{\\rtf1{\\b abc", "abc"},
        {"unmatched closing braces", "}}{\\rtf1 abc}}}} def", "abc"},
        {"truncated \\'h", "{\\rtf1 ab\\'4", "ab"},
        {"lone backslash at the end", "{\\rtf1 ab\\", "ab"},
        {"\\' without digits", "{\\rtf1 ab\\'zz}", "abzz"},
        {"20-digit parameter", "{\\rtf1\\fs99999999999999999999\\li-99999999999999999999 ab}", "ab"},
        {"\\bin longer than the text", "{\\rtf1 ab{\\pict\\pngblip\\bin999999999 xyz", "ab"},
        {"\\u at the end", "{\\rtf1 ab\\u", "ab"},
        {"destination never closed", "{\\rtf1 ab\\par{\\fonttbl{\\f0 Arial", "ab"},
        {"structure characters as \\u", "{\\rtf1 a\\u65532?\\u8233?\\u64976?b}", "a"},
        {"binary garbage", QByteArray("{\\rtf1 \x00\x01\xff\\\x00{}\\'\xff", 15), ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Recorded r = Read(c.rtf);
        EXPECT_TRUE(AllText(r).startsWith(c.startsWith)) << AllText(r).toStdString();
    }
    // Regression: \\fs2147483647 around some text kept the rich-text layout going for ever. Sizes
    // are kept to what a 294 mm (833-point) page holds.
    const Recorded big = Read("{\\rtf1\\sb2147483647\\sl-2147483647\\fs99999999999999999999 x\\fs2147483647 y\\par}");
    EXPECT_EQ(big.paragraphs[0].runs[0].format.fontPointSize(), 800.0);
    EXPECT_EQ(big.paragraphs[0].runs.back().format.fontPointSize(), 800.0);
    EXPECT_EQ(big.paragraphs[0].format.spaceBefore, 16668);
    EXPECT_EQ(big.paragraphs[0].format.lineSpacing, -16668);
}

TEST(RtfReader, DeepNestingUsesNoRecursion)
{
    const int depth = 100000;
    const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " after}";
    const Recorded r = Read(rtf);
    ASSERT_EQ(r.paragraphs.size(), 1u);
    EXPECT_EQ(Text(r.paragraphs[0]), "deep after");
    // Past the depth limit groups are counted but not kept: the bold leaks only inside them.
    EXPECT_EQ(r.paragraphs[0].runs.back().format.fontWeight(), QFont::Normal);
}
