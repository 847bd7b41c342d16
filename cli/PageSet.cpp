#include "cli/PageSet.h"

#include "platform/base/Exception.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace {

// Pages named so far as disjoint ranges, first page to last: a range of a billion pages costs one
// entry, not a billion.
using Ranges = std::map<int, int>;

// The first page of [from, to] the ranges already hold, or 0.
int FirstNamedTwice(const Ranges &ranges, int from, int to)
{
    auto next = ranges.upper_bound(from);
    if (next != ranges.begin() && std::prev(next)->second >= from)
        return from;
    return next != ranges.end() && next->first <= to ? next->first : 0;
}

// Adds the pages from..to, failing where naming them one by one would fail first.
void AddRange(qint64 from, qint64 to, int pageCount, Ranges &ranges)
{
    if (from < 1)
        throw Exception(QStringLiteral("Podany numer strony (%1) jest za mały !").arg(from));
    const qint64 last = std::min<qint64>(to, pageCount);
    if (from <= last) {
        if (const int page = FirstNamedTwice(ranges, int(from), int(last)))
            throw Exception(QStringLiteral("Strona %1 jest podana kilka razy !").arg(page));
        ranges.emplace(int(from), int(last));
    }
    if (to > pageCount)
        throw Exception(QStringLiteral("Podany numer strony (%1)\rprzekracza ilość dostepnych stron !")
                            .arg(std::max<qint64>(from, qint64(pageCount) + 1)));
}

Ranges ParseRanges(const QString &given, int pageCount)
{
    QString text = given;
    while (!text.isEmpty() && text.front().unicode() <= 32)
        text.remove(0, 1);
    while (!text.isEmpty() && text.back().unicode() <= 32)
        text.chop(1);
    if (text.isEmpty())
        throw Exception(QStringLiteral("Nie podano zestawu stron !"));
    const Exception invalid(QStringLiteral("Podane numery stron (%1)\rsą nieprawidłowe !").arg(text));

    Ranges ranges;
    QString first, second;
    bool range = false;
    auto commit = [&] {
        if (second.isEmpty())
            second = first;
        bool ok1 = false, ok2 = false;
        const qint64 from = first.toLongLong(&ok1), to = second.toLongLong(&ok2);
        // An element without digits or a number beyond 32 bits is no page number at all.
        if (!ok1 || !ok2 || from > INT32_MAX || to > INT32_MAX)
            throw invalid;
        if (to < from)
            throw Exception(QStringLiteral("Podany zakres stron (%1-%2) jest nieprawidłowy !").arg(first, second));
        AddRange(from, to, pageCount, ranges);
        first.clear();
        second.clear();
        range = false;
    };
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            (range ? second : first) += c;
        else if (c == u'-')
            range = true;
        else if (c == u',')
            commit();
    }
    if (!first.isEmpty())
        commit();
    if (ranges.empty())
        throw invalid;
    return ranges;
}

} // namespace

void CheckPageSet(const QString &text, int pageCount)
{
    ParseRanges(text, pageCount);
}

QList<int> ParsePageSet(const QString &text, int pageCount)
{
    QList<int> pages;
    for (const auto &[from, to] : ParseRanges(text, pageCount))
        for (qint64 page = from; page <= to; ++page)
            pages.append(int(page));
    return pages;
}
