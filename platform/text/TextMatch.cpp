#include "platform/text/TextMatch.h"

#include "platform/text/CodePage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

namespace platform {

namespace {

QChar Fold(QChar c, bool plain)
{
    if (c.unicode() < 0x80)
        return c.unicode() >= 'A' && c.unicode() <= 'Z' ? QChar(c.unicode() + 32) : c;
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

// Windows-1250 both ways, and each of its bytes stripped of its diacritic.
struct CodePage1250 {
    const ByteTable &toChar = Windows1250Table();
    std::vector<qint16> fromChar = std::vector<qint16>(0x10000, -1);
    std::array<char, 256> plain{};

    CodePage1250()
    {
        for (int b = 0; b < 256; ++b) {
            // Bytes the code page leaves undefined decode to nothing that could be typed.
            if (toChar[b] != 0xFFFD && fromChar[toChar[b]] < 0)
                fromChar[toChar[b]] = qint16(b);
        }
        for (int b = 0; b < 256; ++b) {
            const qint16 stripped = fromChar[Fold(QChar(toChar[b]), true).unicode()];
            plain[b] = char(stripped >= 0 ? stripped : b);
        }
    }
};

const CodePage1250 &Cp1250()
{
    static const CodePage1250 table;
    return table;
}

qsizetype IndexOf(const char *hay, qsizetype size, const std::string &needle, qsizetype from)
{
    const void *found = memmem(hay + from, size_t(size - from), needle.data(), needle.size());
    return found ? static_cast<const char *>(found) - hay : -1;
}

qsizetype IndexOf(const char16_t *hay, qsizetype size, const std::u16string &needle, qsizetype from)
{
    return QStringView(hay, size).indexOf(QStringView(needle), from);
}

} // namespace

namespace detail {

// Matches the needle around every place its longest blank-free piece occurs. A blank of the needle
// matches a blank, or a gap between runs; a gap is passed over anywhere else. Places in the text
// kept are followed as place * 2, plus 1 for the gap before that place.
template <typename Char> class Matching {
public:
    Matching(const Char *hay, const TSearchText &text, const std::basic_string<Char> &needle)
        : hay_(hay), size_(text.Joined()), text_(text), needle_(needle)
    {
    }

    QList<TTextSpan> Run() const
    {
        size_t anchor = 0, anchorSize = 0;
        for (size_t i = 0; i < needle_.size();) {
            if (needle_[i] == Char(' ')) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < needle_.size() && needle_[end] != Char(' '))
                ++end;
            if (end - i > anchorSize)
                anchor = i, anchorSize = end - i;
            i = end;
        }
        const std::basic_string<Char> piece = needle_.substr(anchor, anchorSize);
        QList<TTextSpan> found;
        if (size_ < qsizetype(anchorSize))
            return found;
        for (qsizetype p = IndexOf(hay_, size_, piece, 0); p >= 0; p = IndexOf(hay_, size_, piece, p + 1)) {
            const qsizetype start = Backward(anchor, p, false, p * 2);
            if (start < 0)
                continue;
            const qsizetype end =
                Forward(anchor + anchorSize, p + qsizetype(anchorSize), false, (p + qsizetype(anchorSize)) * 2);
            if (end < 0)
                continue;
            // A start on a character stands where it stood; an end after a character just after it.
            const qsizetype from = start % 2 ? text_.GapOrigin(start / 2) : text_.Origin(start / 2);
            const qsizetype to = end % 2 ? text_.GapOrigin(end / 2) + 1 : text_.Origin(end / 2 - 1) + 1;
            found.append({from, to});
        }
        return found;
    }

private:
    // The needle from ni on, from place q (the gap before it taken or not); where the match ends.
    qsizetype Forward(size_t ni, qsizetype q, bool gapTaken, qsizetype end) const
    {
        if (ni == needle_.size())
            return end;
        const Char c = needle_[ni];
        if (c == Char(' ') && !gapTaken && text_.GapBefore(q)) {
            const qsizetype matched = Forward(ni + 1, q, true, q * 2 + 1);
            if (matched >= 0)
                return matched;
        }
        if (q < size_ && hay_[q] == c)
            return Forward(ni + 1, q + 1, false, (q + 1) * 2);
        return -1;
    }

    // The needle before ni, ending at place q; where the match starts.
    qsizetype Backward(size_t ni, qsizetype q, bool gapTaken, qsizetype start) const
    {
        if (ni == 0)
            return start;
        const Char c = needle_[ni - 1];
        if (c == Char(' ') && !gapTaken && text_.GapBefore(q)) {
            const qsizetype matched = Backward(ni - 1, q, true, q * 2 + 1);
            if (matched >= 0)
                return matched;
        }
        if (q > 0 && hay_[q - 1] == c)
            return Backward(ni - 1, q - 1, false, (q - 1) * 2);
        return -1;
    }

    const Char *hay_;
    qsizetype size_;
    const TSearchText &text_;
    const std::basic_string<Char> &needle_;
};

} // namespace detail

namespace {

// Overlapping matches count once: the first of them.
QList<TTextSpan> Separate(QList<TTextSpan> found)
{
    const auto byStart = [](const TTextSpan &a, const TTextSpan &b) {
        return a.Start != b.Start ? a.Start < b.Start : a.End < b.End;
    };
    if (!std::is_sorted(found.begin(), found.end(), byStart))
        std::sort(found.begin(), found.end(), byStart);
    QList<TTextSpan> separate;
    for (const TTextSpan &span : found)
        if (separate.isEmpty() || span.Start >= separate.back().End)
            separate.append(span);
    return separate;
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

TSearchText::TSearchText(const QString &text)
{
    // Gaps go to their bits; the rest is kept folded, in one byte a character while that can be.
    const CodePage1250 &cp = Cp1250();
    gaps_.assign(size_t(text.size()) / 64 + 1, 0);
    text8_.resize(text.size());
    char *out = text8_.data();
    qsizetype q = 0;
    for (const QChar c : text) {
        if (c == kRunGap) {
            gaps_[size_t(q) / 64] |= quint64(1) << (q % 64);
            continue;
        }
        const qint16 b = cp.fromChar[Fold(c, false).unicode()];
        if (b < 0) {
            wide_ = true;
            break;
        }
        out[q++] = char(b);
    }
    if (wide_) {
        text8_ = QByteArray();
        text16_.reserve(text.size());
        q = 0;
        for (const QChar c : text) {
            if (c == kRunGap)
                gaps_[size_t(q) / 64] |= quint64(1) << (q % 64);
            else
                text16_.append(Fold(c, false)), ++q;
        }
    } else {
        text8_.truncate(q);
    }
    text8_.squeeze();
    text16_.squeeze();
    gaps_.resize(size_t(Joined()) / 64 + 1);
    gaps_.shrink_to_fit();
}

qsizetype TSearchText::GapsUpTo(qsizetype places) const
{
    qsizetype gaps = 0;
    const size_t whole = size_t(places) / 64;
    for (size_t w = 0; w < whole; ++w)
        gaps += std::popcount(gaps_[w]);
    if (places % 64)
        gaps += std::popcount(gaps_[whole] & ((quint64(1) << (places % 64)) - 1));
    return gaps;
}

qsizetype TSearchText::MemoryBytes() const
{
    return text8_.capacity() + text16_.capacity() * 2 + qsizetype(gaps_.capacity() * sizeof(quint64));
}

std::pair<int, qsizetype> TSearchText::LineOf(qsizetype position) const
{
    int line = 0;
    qsizetype start = 0, origin = 0;
    for (qsizetype q = 0; q < Joined(); ++q) {
        origin += GapBefore(q) ? 2 : 1;
        if (origin > position)
            break;
        if ((wide_ ? text16_[q].unicode() : char16_t(text8_[q])) == u'\n') {
            ++line;
            start = origin;
        }
    }
    return {line, start};
}

TTextMatcher::TTextMatcher(const QString &typed)
{
    // Line ends and gaps cannot be typed into one line; given all the same, they stand for blanks.
    QString text = typed.left(kMaxTyped);
    for (QChar &c : text)
        if (c == u'\n' || c == u'\r' || c == kRunGap)
            c = QLatin1Char(' ');
    plain_ = IsPlainText(text);
    needle_ = FoldForSearch(text, plain_);
    empty_ = needle_.trimmed().isEmpty();
    const CodePage1250 &cp = Cp1250();
    narrow_ = true;
    for (const QChar c : needle_) {
        const qint16 b = cp.fromChar[c.unicode()];
        if (b < 0) {
            narrow_ = false;
            break;
        }
        needle8_.append(char(b));
    }
}

QList<TTextSpan> TTextMatcher::Find(const TSearchText &text) const
{
    if (empty_)
        return {};
    if (text.wide_) {
        QString hay = text.text16_;
        if (plain_)
            hay = FoldForSearch(hay, true);
        const std::u16string needle(reinterpret_cast<const char16_t *>(needle_.utf16()), size_t(needle_.size()));
        return Separate(
            detail::Matching<char16_t>(reinterpret_cast<const char16_t *>(hay.utf16()), text, needle).Run());
    }
    // A needle with a character that has no Windows-1250 byte cannot be in text that has none.
    if (!narrow_)
        return {};
    const std::string needle(needle8_.constData(), size_t(needle8_.size()));
    if (!plain_)
        return Separate(detail::Matching<char>(text.text8_.constData(), text, needle).Run());
    // Without diacritics: the text is stripped of them first, a byte for a byte.
    const CodePage1250 &cp = Cp1250();
    std::string hay(size_t(text.text8_.size()), '\0');
    std::transform(text.text8_.cbegin(), text.text8_.cend(), hay.begin(), [&](char c) { return cp.plain[quint8(c)]; });
    return Separate(detail::Matching<char>(hay.data(), text, needle).Run());
}

} // namespace platform
