#include "platform/text/TextMatch.h"

#include <algorithm>

namespace platform {

namespace {

QChar Fold(QChar c, bool plain)
{
    if (c.isSurrogate())
        return c;
    c = c.toCaseFolded();
    if (!plain)
        return c;
    // "ł" has no decomposition; every other Polish letter decomposes into its base and a mark.
    if (c == QChar(0x0142))
        return QLatin1Char('l');
    if (c.decompositionTag() == QChar::Canonical) {
        const QString d = c.decomposition();
        if (!d.isEmpty() && !d.front().isSurrogate())
            return d.front();
    }
    return c;
}

} // namespace

QString FoldForSearch(const QString &text, bool plain)
{
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = Fold(text[i], plain);
    return out;
}

bool IsPlainText(const QString &typed)
{
    const QString folded = typed.toCaseFolded();
    return FoldForSearch(folded, true) == folded;
}

TTextMatcher::TTextMatcher(const QString &typed) : plain_(IsPlainText(typed))
{
    needle_ = FoldForSearch(typed, plain_);
}

QList<qsizetype> TTextMatcher::Find(const QString &line) const
{
    QList<qsizetype> found;
    if (needle_.isEmpty())
        return found;
    // A gap between runs reads as a blank, or as nothing: the line is searched both ways, and
    // positions in the second are taken back to the line's own.
    QString spaced = FoldForSearch(line, plain_);
    QString joined;
    QList<qsizetype> origin;
    for (qsizetype i = 0; i < spaced.size(); ++i) {
        if (spaced[i] == kRunGap) {
            spaced[i] = QLatin1Char(' ');
            continue;
        }
        joined += spaced[i];
        origin.append(i);
    }
    auto search = [&](const QString &hay, auto position) {
        for (qsizetype at = hay.indexOf(needle_); at >= 0; at = hay.indexOf(needle_, at + needle_.size()))
            found.append(position(at));
    };
    search(spaced, [](qsizetype at) { return at; });
    if (joined.size() != spaced.size())
        search(joined, [&](qsizetype at) { return origin[at]; });
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    // Matches that overlap one found earlier count once.
    QList<qsizetype> separate;
    for (const qsizetype at : found)
        if (separate.isEmpty() || at >= separate.back() + needle_.size())
            separate.append(at);
    return separate;
}

} // namespace platform
