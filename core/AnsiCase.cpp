#include "core/AnsiCase.h"

#include <array>

namespace {

std::array<quint8, 256> MakeUpperTable()
{
    std::array<quint8, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<quint8>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<quint8>(c - 32);
    // Windows-1250 letters outside the two regular rows: š ś ť ž ź ł ą ş ľ ż.
    const quint8 pairs[][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F},
                               {0xB3, 0xA3}, {0xB9, 0xA5}, {0xBA, 0xAA}, {0xBE, 0xBC}, {0xBF, 0xAF}};
    for (const auto &p : pairs)
        table[p[0]] = p[1];
    // The row ŕ..ţ maps onto Ŕ..Ţ; ÷ (0xF7) is not a letter, ß (0xDF) has no capital.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            table[c] = static_cast<quint8>(c - 0x20);
    return table;
}

const std::array<quint8, 256> kUpper = MakeUpperTable();

} // namespace

quint8 AnsiUpper(quint8 c)
{
    return kUpper[c];
}

QByteArray AnsiUpperCase(QByteArrayView text)
{
    QByteArray upper(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        upper[i] = static_cast<char>(kUpper[static_cast<quint8>(text[i])]);
    return upper;
}

bool AnsiSameText(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (kUpper[static_cast<quint8>(a[i])] != kUpper[static_cast<quint8>(b[i])])
            return false;
    return true;
}
