#pragma once
// Finding typed text in page text the way readers expect: without regard to case, and without
// regard to Polish diacritics when the typed text has none ("zolw" finds "żółw").
#include <QList>
#include <QString>

namespace platform {

// The text as it is compared: case folded and, with plain, letters stripped of their diacritics.
// Every character of text gives exactly one, so positions in the folded text are positions in text.
QString FoldForSearch(const QString &text, bool plain);

// Whether typed text has no letter with a diacritic (then matching ignores them).
bool IsPlainText(const QString &typed);

// Marks the place between two runs of a line that stand apart (two fields): typed text matches there
// with a blank or without one, so an amount split over two fields is found either way.
inline constexpr QChar kRunGap = QChar(0x1F);

// A finder for one typed text.
class TTextMatcher {
public:
    explicit TTextMatcher(const QString &typed);
    bool IsEmpty() const { return needle_.isEmpty(); }
    // The start of every match in line, left to right; matches do not overlap. line may hold kRunGap.
    QList<qsizetype> Find(const QString &line) const;

private:
    QString needle_;
    bool plain_ = true;
};

} // namespace platform
