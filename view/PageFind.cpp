#include "view/PageFind.h"

#include <algorithm>

namespace {

// Pages whose character places are kept: more than a view shows at once at the smallest zoom.
constexpr size_t kKeptPages = 8;

} // namespace

bool TPageFind::AddPage(const platform::PageMetafile &page)
{
    texts_.emplace_back(platform::PageText(page, platform::kRunGap));
    const bool hadMatch = current_ >= 0;
    Search(int(texts_.size()) - 1);
    if (!hadMatch && !found_.isEmpty()) {
        current_ = 0;
        return true;
    }
    return false;
}

qsizetype TPageFind::MemoryBytes() const
{
    qsizetype bytes = qsizetype(texts_.capacity() * sizeof(platform::TSearchText));
    for (const platform::TSearchText &text : texts_)
        bytes += text.MemoryBytes();
    return bytes;
}

void TPageFind::Clear()
{
    texts_.clear();
    found_.clear();
    lines_.clear();
    current_ = -1;
}

void TPageFind::Search(int index)
{
    if (!matcher_ || matcher_->IsEmpty())
        return;
    for (const platform::TTextSpan &span : matcher_->Find(texts_[size_t(index)]))
        found_.append({index, span});
}

void TPageFind::SetText(const QString &typed, int fromPage)
{
    typed_ = typed;
    matcher_.emplace(typed);
    found_.clear();
    current_ = -1;
    for (int i = 0; i < IndexedPages(); ++i)
        Search(i);
    if (found_.isEmpty())
        return;
    const auto from =
        std::find_if(found_.cbegin(), found_.cend(), [&](const TFoundText &f) { return f.Page >= fromPage; });
    current_ = from == found_.cend() ? 0 : int(from - found_.cbegin());
}

bool TPageFind::Next()
{
    if (found_.isEmpty())
        return false;
    current_ = (current_ + 1) % Count();
    return true;
}

bool TPageFind::Previous()
{
    if (found_.isEmpty())
        return false;
    current_ = (current_ + Count() - 1) % Count();
    return true;
}

const std::vector<platform::PageTextLine> &TPageFind::Lines(int index, const platform::PageMetafile &page)
{
    for (const TPageLines &kept : lines_)
        if (kept.Page == index)
            return kept.Lines;
    if (lines_.size() >= kKeptPages)
        lines_.pop_front();
    lines_.push_back({index, platform::PageTextLines(page, platform::kRunGap, true)});
    return lines_.back().Lines;
}

QRectF TPageFind::Box(const TFoundText &found, const platform::PageMetafile &page)
{
    const auto [line, start] = texts_[size_t(found.Page)].LineOf(found.Span.Start);
    const std::vector<platform::PageTextLine> &lines = Lines(found.Page, page);
    if (size_t(line) >= lines.size())
        return {};
    const platform::PageTextLine &where = lines[size_t(line)];
    const qsizetype from = found.Span.Start - start, to = found.Span.End - start;
    if (from < 0 || to > qsizetype(where.spans.size()) || from >= to)
        return {};
    float left = where.spans[size_t(from)].first, right = left;
    for (qsizetype i = from; i < to; ++i) {
        const auto [l, r] = where.spans[size_t(i)];
        left = std::min({left, l, r});
        right = std::max({right, l, r});
    }
    return QRectF(QPointF(left, where.top), QPointF(right, where.bottom));
}

QList<TPageMark> TPageFind::Marks(int index, const platform::PageMetafile &page)
{
    QList<TPageMark> marks;
    const auto first = std::lower_bound(found_.cbegin(), found_.cend(), index,
                                        [](const TFoundText &f, int wanted) { return f.Page < wanted; });
    for (auto it = first; it != found_.cend() && it->Page == index; ++it) {
        const QRectF box = Box(*it, page);
        if (!box.isEmpty())
            marks.append({box, int(it - found_.cbegin()) == current_});
    }
    return marks;
}

QRectF TPageFind::CurrentRect(const platform::PageMetafile &page)
{
    return current_ < 0 ? QRectF() : Box(found_[current_], page);
}

QString TPageFind::CurrentLine(const platform::PageMetafile &page) const
{
    if (current_ < 0)
        return {};
    const TFoundText &found = found_[current_];
    return platform::MatchLine(platform::PageTextLines(page, platform::kRunGap, false), texts_[size_t(found.Page)],
                               found.Span.Start)
        .text;
}
