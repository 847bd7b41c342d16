#include "platform/text/TextMatch.h"

#include <gtest/gtest.h>

using platform::TSearchText;
using platform::TTextMatcher;
using platform::TTextSpan;

TEST(TextMatch, CaseDiacriticsGapsAndLinesFoldAsReadersExpect)
{
    const struct Row {
        const char *typed;
        const char *text;
        QList<TTextSpan> found;
    } rows[] = {
        {"zolw", "Żółw i ŻÓŁW", {{0, 4}, {7, 11}}},
        {"ZOLW", "żółw", {{0, 4}}},
        {"żółw", "ŻÓŁW zolw", {{0, 4}}}, // typed diacritics must match
        {"łąka", "Spółdzielnia „Łąka”", {{14, 18}}},
        {"laka", "Spółdzielnia „Łąka”", {{14, 18}}},
        {"aa", "aaaa", {{0, 2}, {2, 4}}}, // overlapping matches count once
        {"1 234,56", "Razem: 1 234,56 zł", {{7, 15}}},
        {"x", "", {}},
        // Two fields of one line: the gap between them matches a blank or nothing, also both ways in
        // one match; it is passed over only inside a match.
        {"12345,67",
         "Razem 12\x1F"
         "345,67",
         {{6, 15}}},
        {"12 345,67",
         "Razem 12\x1F"
         "345,67",
         {{6, 15}}},
        {"2 3",
         "12\x1F"
         "345",
         {{1, 4}}},
        {"a b c",
         "a\x1F"
         "b c",
         {{0, 5}}},
        {"abc",
         "a\x1F"
         "b\x1F"
         "c",
         {{0, 5}}},
        {" 345",
         "12\x1F"
         "345",
         {{2, 6}}},
        {"12 ",
         "12\x1F"
         "345",
         {{0, 3}}},
        // Never across a line's end.
        {"ab", "a\nb", {}},
        {"a b", "a\nb", {}},
        {"kawa",
         "Kawa\nkawa\x1F"
         "kawa",
         {{0, 4}, {5, 9}, {10, 14}}},
        // Characters without a Windows-1250 byte keep the text in UTF-16, found all the same.
        {"привет", "Сказал: ПРИВЕТ", {{8, 14}}},
        {"zolw", "żółw → ŻÓŁW", {{0, 4}, {7, 11}}},
        {"→", "żółw", {}},
        {"😀 ok",
         "a 😀\x1F"
         "OK",
         {{2, 7}}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(TTextMatcher(QString::fromUtf8(r.typed)).Find(QString::fromUtf8(r.text)), r.found) << r.typed;
    for (const char *blank : {"", " ", "   "})
        EXPECT_TRUE(TTextMatcher(QString::fromUtf8(blank)).IsEmpty());
    // Folding keeps positions: one character for one.
    EXPECT_EQ(platform::FoldForSearch(QString::fromUtf8("ŻÓŁW 😀"), true), QString::fromUtf8("zolw 😀"));
}

TEST(TextMatch, PlacesAreFoundByLine)
{
    const TSearchText text(QStringLiteral("Faktura\nRazem: 12\x1F"
                                          "345\nKoniec\n"));
    const QList<TTextSpan> found = TTextMatcher(QStringLiteral("12345")).Find(text);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(text.LineOf(found[0].Start), std::make_pair(1, qsizetype(8)));
    EXPECT_EQ(text.LineOf(0), std::make_pair(0, qsizetype(0)));
}
