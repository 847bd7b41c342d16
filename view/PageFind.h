#pragma once
// TPageFind: finding typed text in the pages of a preview. Each page's text is read once into a
// compact index (about a byte a character) as the pages are handed over; every search runs over the
// index, so typing stays quick on long printouts, and pages handed over during a search are searched
// as they come.
#include "platform/metafile/PageText.h"
#include "platform/text/TextMatch.h"
#include "view/PageMark.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace platform {
class PageMetafile;
}

// A match on a page: the page's index and the characters of its text (lines ended with "\n", runs
// parted by kRunGap).
struct TFoundText {
    int Page = 0;
    platform::TTextSpan Span;
};

class TPageFind {
public:
    // Reads page's text into the index as the next page, and searches it for the text looked for.
    // Returns true when that made a match current (there was none before).
    bool AddPage(const platform::PageMetafile &page);
    int IndexedPages() const { return int(texts_.size()); }
    qsizetype MemoryBytes() const;
    // Forgets every page and match.
    void Clear();

    // Looks for typed in every indexed page. The current match becomes the first one on page
    // fromPage (0-based) or after it, else the first.
    void SetText(const QString &typed, int fromPage);
    const QString &Text() const { return typed_; }
    int Count() const { return int(found_.size()); }
    // The current match's number from 0, or -1 when there is none.
    int Current() const { return current_; }
    const TFoundText &Found(int i) const { return found_[i]; }
    // The next or previous match, round from the last to the first and back; false without matches.
    bool Next();
    bool Previous();

    // The boxes of page index's matches; page is that page.
    QList<TPageMark> Marks(int index, const platform::PageMetafile &page);
    // The current match's box on its page (an empty rectangle when there is none).
    QRectF CurrentRect(const platform::PageMetafile &page);
    // The line of the current match as the text export writes it (blanks between runs).
    QString CurrentLine(const platform::PageMetafile &page) const;

private:
    void Search(int index);
    // The lines of page index with their characters' places, kept for the last few pages drawn.
    const std::vector<platform::PageTextLine> &Lines(int index, const platform::PageMetafile &page);
    QRectF Box(const TFoundText &found, const platform::PageMetafile &page);

    struct TPageLines {
        int Page = 0;
        std::vector<platform::PageTextLine> Lines;
    };

    std::vector<platform::TSearchText> texts_;
    std::optional<platform::TTextMatcher> matcher_;
    QString typed_;
    QList<TFoundText> found_; // in page order, then in text order
    int current_ = -1;
    std::deque<TPageLines> lines_;
};
