#include "platform/text/TextMatch.h"

#include <gtest/gtest.h>

using platform::TTextMatcher;

TEST(TextMatch, CaseAndPolishDiacriticsFoldAsReadersExpect)
{
    const struct Row {
        const char *typed;
        const char *line;
        QList<qsizetype> starts;
    } rows[] = {
        {"zolw", "Żółw i ŻÓŁW", {0, 7}},
        {"ZOLW", "żółw", {0}},
        {"żółw", "ŻÓŁW zolw", {0}}, // typed diacritics must match
        {"łąka", "Spółdzielnia „Łąka”", {14}},
        {"laka", "Spółdzielnia „Łąka”", {14}},
        {"aa", "aaaa", {0, 2}}, // overlapping matches count once
        {"1 234,56", "Razem: 1 234,56 zł", {7}},
        {"x", "", {}},
        // Two fields of one line: the gap between them matches a blank or nothing.
        {"12345,67",
         "Razem 12\x1F"
         "345,67",
         {6}},
        {"12 345,67",
         "Razem 12\x1F"
         "345,67",
         {6}},
        {"2 3",
         "12\x1F"
         "345",
         {1}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(TTextMatcher(QString::fromUtf8(r.typed)).Find(QString::fromUtf8(r.line)), r.starts) << r.typed;
    EXPECT_TRUE(TTextMatcher(QString()).IsEmpty());
    // Folding keeps positions: one character for one.
    EXPECT_EQ(platform::FoldForSearch(QString::fromUtf8("ŻÓŁW 😀"), true), QString::fromUtf8("zolw 😀"));
}
