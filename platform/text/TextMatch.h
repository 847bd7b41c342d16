#pragma once
// Finding typed text in page text the way readers expect: without regard to case, and without
// regard to Polish diacritics when the typed text has none ("zolw" finds "żółw").
#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>
#include <vector>

namespace platform {

namespace detail {
template <typename Char> class Matching;
}

// The text as it is compared: case folded and, with plain, letters stripped of their diacritics.
// Every character of text gives exactly one, so positions in the folded text are positions in text.
QString FoldForSearch(const QString &text, bool plain);

// Whether typed text has no letter with a diacritic (then matching ignores them).
bool IsPlainText(const QString &typed);

// Marks the place between two runs of a line that stand apart (two fields): typed text matches there
// with a blank or without one, so an amount split over two fields is found either way.
inline constexpr QChar kRunGap = QChar(0x1F);

// A found piece of text: characters [Start, End) of the text searched.
struct TTextSpan {
    qsizetype Start = 0;
    qsizetype End = 0;
    bool operator==(const TTextSpan &) const = default;
};

// Text kept for searching, lines ended with "\n" and runs parted by kRunGap: case folded, and held
// in one byte a character when every character has a Windows-1250 byte (printouts are written in
// it, so nearly always), in UTF-16 otherwise. The gaps are kept apart, a bit a character, so that
// the text can be searched as it is. Positions are those of the text given.
class TSearchText {
public:
    TSearchText() = default;
    explicit TSearchText(const QString &text);
    // The line (from 0) that position lies on and the position of that line's start.
    std::pair<int, qsizetype> LineOf(qsizetype position) const;
    qsizetype MemoryBytes() const;

private:
    friend class TTextMatcher;
    template <typename Char> friend class detail::Matching;
    qsizetype Joined() const { return wide_ ? text16_.size() : text8_.size(); }
    // Whether a gap stood before character q of the text kept (q == its size: after the last).
    bool GapBefore(qsizetype q) const { return gaps_[size_t(q) / 64] >> (q % 64) & 1; }
    // Where character q of the text kept stood in the text given, and where the gap before it stood.
    qsizetype Origin(qsizetype q) const { return q + GapsUpTo(q + 1); }
    qsizetype GapOrigin(qsizetype q) const { return q + GapsUpTo(q); }
    // The gaps before the first places characters.
    qsizetype GapsUpTo(qsizetype places) const;

    QByteArray text8_;
    QString text16_;
    std::vector<quint64> gaps_;
    bool wide_ = false;
};

// A finder for one typed text.
class TTextMatcher {
public:
    // Typed text longer than this is cut to it: nobody types more, and a match is checked in steps
    // as many as its characters.
    static constexpr qsizetype kMaxTyped = 256;

    explicit TTextMatcher(const QString &typed);
    // Nothing to look for: no character but blanks.
    bool IsEmpty() const { return empty_; }
    // Every match left to right; matches do not overlap (of two that would, the first counts) and
    // never run over a line's end.
    QList<TTextSpan> Find(const TSearchText &text) const;
    QList<TTextSpan> Find(const QString &text) const { return Find(TSearchText(text)); }

private:
    QString needle_;
    QByteArray needle8_; // the needle in Windows-1250, when it has such bytes
    bool plain_ = true;
    bool empty_ = true;
    bool narrow_ = false; // whether needle8_ holds the needle
};

} // namespace platform
