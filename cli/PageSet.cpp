#include "cli/PageSet.h"

#include "platform/Exception.h"

#include <algorithm>

namespace {

void AddPage(qint64 page, int pageCount, QList<int> &pages)
{
    if (page > pageCount)
        throw Exception(QStringLiteral("Podany numer strony (%1)\rprzekracza ilość dostepnych stron !").arg(page));
    if (page < 1)
        throw Exception(QStringLiteral("Podany numer strony (%1) jest za mały !").arg(page));
    const auto at = std::lower_bound(pages.begin(), pages.end(), int(page));
    if (at != pages.end() && *at == page)
        throw Exception(QStringLiteral("Strona %1 jest podana kilka razy !").arg(page));
    pages.insert(at, int(page));
}

} // namespace

QList<int> ParsePageSet(const QString &given, int pageCount)
{
    QString text = given;
    while (!text.isEmpty() && text.front().unicode() <= 32)
        text.remove(0, 1);
    while (!text.isEmpty() && text.back().unicode() <= 32)
        text.chop(1);
    if (text.isEmpty())
        throw Exception(QStringLiteral("Nie podano zestawu stron !"));
    const Exception invalid(QStringLiteral("Podane numery stron (%1)\rsą nieprawidłowe !").arg(text));

    QList<int> pages;
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
        for (qint64 page = from; page <= to; ++page)
            AddPage(page, pageCount, pages);
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
    if (pages.isEmpty())
        throw invalid;
    return pages;
}
