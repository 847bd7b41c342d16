#include "print/PageSelection.h"

#include "platform/base/ConvertError.h"
#include "print/PrintDlgError.h"

#include <algorithm>

namespace {

qint32 ToInteger(const QString &digits)
{
    bool ok = false;
    const qint32 value = digits.toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' nie jest prawidłową liczbą całkowitą").arg(digits));
    return value;
}

// One element of a page set: its first number, and its second once a dash made it a range.
struct Element {
    QString first, second;
    bool range = false;

    void Commit(qint32 pageCount, PageSelection &selection)
    {
        if (second.isEmpty())
            second = first;
        const qint32 from = ToInteger(first), to = ToInteger(second);
        if (to < from)
            throw EPrintDlgError(QStringLiteral("Podany zakres stron (%1-%2) jest nieprawidłowy !").arg(first, second));
        // 64 bits, so that a range ending at the largest integer ends; a range past the page count
        // fails at its first page beyond it.
        for (qint64 page = from; page <= to; ++page)
            AddSelectedPage(qint32(page), pageCount, selection);
        *this = Element();
    }
};

} // namespace

void AddSelectedPage(qint32 page, qint32 pageCount, PageSelection &selection)
{
    if (page > pageCount)
        throw EPrintDlgError(QStringLiteral("Podany numer strony (%1)\rprzekracza ilość dostepnych stron !").arg(page));
    if (page < 1)
        throw EPrintDlgError(QStringLiteral("Podany numer strony (%1) jest za mały !").arg(page));
    const auto place = std::lower_bound(selection.begin(), selection.end(), page);
    if (place != selection.end() && *place == page)
        throw EPrintDlgError(QStringLiteral("Strona %1 jest podana kilka razy !").arg(page));
    selection.insert(place, page);
}

void ParsePageSet(const QString &text, qint32 pageCount, PageSelection &selection)
{
    if (text.isEmpty())
        throw EPrintDlgError(QStringLiteral("Nie podano zestawu stron !"));
    Element element;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            (element.range ? element.second : element.first) += c;
        else if (c == u'-')
            element.range = true;
        else if (c == u',')
            element.Commit(pageCount, selection);
    }
    if (!element.first.isEmpty())
        element.Commit(pageCount, selection);
    if (selection.isEmpty())
        throw EPrintDlgError(QStringLiteral("Podane numery stron (%1)\rsą nieprawidłowe !").arg(text));
}

PageSelection BuildPageSelection(TPageRange range, const QString &pageSet, qint32 pageCount, qint32 currentPage)
{
    PageSelection selection;
    selection.reserve(std::max(pageCount, 0));
    switch (range) {
    case TPageRange::Wszystkie:
        for (qint32 page = 1; page <= pageCount; ++page)
            selection.append(page);
        break;
    case TPageRange::Biezaca:
        selection.append(currentPage);
        break;
    case TPageRange::Zestaw: {
        qsizetype from = 0, to = pageSet.size();
        while (from < to && pageSet[from].unicode() <= 32)
            ++from;
        while (to > from && pageSet[to - 1].unicode() <= 32)
            --to;
        ParsePageSet(pageSet.sliced(from, to - from), pageCount, selection);
        break;
    }
    }
    return selection;
}
