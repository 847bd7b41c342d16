#include "print/SheetOrder.h"

#include <algorithm>

int PaddingStep(TPrintMode mode, bool twoSided)
{
    switch (mode) {
    case TPrintMode::Zmniejszone:
        return twoSided ? 4 : 2;
    case TPrintMode::Ksiazeczka:
        return 4;
    default:
        return twoSided ? 2 : 1;
    }
}

void PadSelection(PageSelection &selection, TPrintMode mode, bool twoSided)
{
    const int step = PaddingStep(mode, twoSided);
    while (selection.size() % step != 0)
        selection.append(0);
}

QList<TPass> PrintPasses(TPrintMode mode, bool twoSided, bool reverse, int n)
{
    TPass first, second;
    // The position j counts from the front, or from the back when reverse.
    auto from = [&](int front, int back) { return reverse ? back : front; };
    switch (mode) {
    case TPrintMode::Zmniejszone:
        if (!twoSided) {
            for (int j = 1; j <= n / 2; ++j)
                first.append({from(2 * j - 1, n + 1 - 2 * j), from(2 * j, n + 2 - 2 * j)});
            return {first};
        }
        for (int j = 1; j <= n / 4; ++j)
            first.append({4 * j - 1, 4 * j});
        for (int j = 1; j <= n / 4; ++j)
            second.append({from(4 * j - 3, n + 1 - 4 * j), from(4 * j - 2, n + 2 - 4 * j)});
        return {first, second};
    case TPrintMode::Ksiazeczka:
        for (int j = 1; j <= n / 4; ++j)
            first.append({2 * j, n + 1 - 2 * j});
        for (int j = n / 4 + 1; j <= n / 2; ++j)
            second.append({2 * j, n + 1 - 2 * j});
        if (!reverse)
            std::reverse(second.begin(), second.end());
        return {first, second};
    default:
        if (!twoSided) {
            for (int j = 1; j <= n; ++j)
                first.append({from(j, n + 1 - j), 0});
            return {first};
        }
        for (int j = 1; j <= n / 2; ++j)
            first.append({2 * j, 0});
        for (int j = 1; j <= n / 2; ++j)
            second.append({from(2 * j - 1, n + 1 - 2 * j), 0});
        return {first, second};
    }
}

TPass JoinedSides(TPrintMode mode, bool reverse, int n)
{
    TPass sides;
    if (mode == TPrintMode::Ksiazeczka) {
        const QList<TPass> passes = PrintPasses(mode, true, false, n);
        for (qsizetype k = 0; k < passes[0].size(); ++k)
            sides << passes[1][k] << passes[0][k];
    } else if (mode == TPrintMode::Zmniejszone) {
        for (int j = 1; j <= n / 2; ++j)
            sides.append({2 * j - 1, 2 * j});
    } else {
        for (int j = 1; j <= n; ++j)
            sides.append({j, 0});
    }
    if (reverse) {
        // Whole sheets change places; each keeps its front before its back.
        TPass sheets;
        for (qsizetype k = (sides.size() - 1) / 2 * 2; k >= 0; k -= 2)
            sheets << sides.mid(k, 2);
        sides = sheets;
    }
    return sides;
}
