#include "platform/base/ConvertError.h"
#include "print/PageSelection.h"
#include "print/PrintDlgError.h"

#include <gtest/gtest.h>

// Every failure names its type: the dialog catches EPrintDlgError only, so a conversion failure
// must not be one.
TEST(BuildPageSelection, PageSetsGiveTheirPagesOrTheirMessage)
{
    enum Kind { Pages, DlgError, ConvertError };
    const struct Row {
        const char *set;
        qint32 count;
        Kind kind;
        PageSelection pages;
        const char *message = "";
        TPageRange range = TPageRange::Zestaw;
    } rows[] = {
        {"5-10, 12, 15", 20, Pages, {5, 6, 7, 8, 9, 10, 12, 15}},
        {"15,12,5-10", 20, Pages, {5, 6, 7, 8, 9, 10, 12, 15}},
        {"3-", 20, Pages, {3}},
        {"3,-5", 20, Pages, {3}},
        {"5,", 20, Pages, {5}},
        {"1 2", 20, Pages, {12}},
        {"\t 0x3.\n\r ", 20, Pages, {3}},
        {"7,7", 20, DlgError, {}, "Strona 7 jest podana kilka razy !"},
        {"5-7, 6", 20, DlgError, {}, "Strona 6 jest podana kilka razy !"},
        {"0", 20, DlgError, {}, "Podany numer strony (0) jest za mały !"},
        {"3-6", 4, DlgError, {}, "Podany numer strony (5)\rprzekracza ilość dostepnych stron !"},
        {"5-10-12", 20, DlgError, {}, "Podany numer strony (21)\rprzekracza ilość dostepnych stron !"},
        {"2147483647", 20, DlgError, {}, "Podany numer strony (2147483647)\rprzekracza ilość dostepnych stron !"},
        {"10-2", 4, DlgError, {}, "Podany zakres stron (10-2) jest nieprawidłowy !"},
        {"3, 010-02", 4, DlgError, {}, "Podany zakres stron (010-02) jest nieprawidłowy !"},
        {" \t ", 20, DlgError, {}, "Nie podano zestawu stron !"},
        {"abc", 20, DlgError, {}, "Podane numery stron (abc)\rsą nieprawidłowe !"},
        {" -5 ", 20, DlgError, {}, "Podane numery stron (-5)\rsą nieprawidłowe !"},
        {",5", 20, ConvertError},
        {"5,,6", 20, ConvertError},
        {"-5,3", 20, ConvertError},
        {"2147483648", 20, ConvertError},
        {"1-1234567890123456789012345", 20, ConvertError},
        {"", 1, Pages, {1}, "", TPageRange::Wszystkie},
        {"", 3, Pages, {1, 2, 3}, "", TPageRange::Wszystkie},
        {"1-2", 3, Pages, {2}, "", TPageRange::Biezaca},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.set);
        try {
            const PageSelection pages = BuildPageSelection(row.range, QString::fromUtf8(row.set), row.count, 2);
            EXPECT_EQ(row.kind, Pages);
            EXPECT_EQ(pages, row.pages);
        } catch (const EPrintDlgError &e) {
            EXPECT_EQ(row.kind, DlgError);
            EXPECT_EQ(e.Message().toStdString(), row.message);
        } catch (const EConvertError &) {
            EXPECT_EQ(row.kind, ConvertError);
        }
    }
}
