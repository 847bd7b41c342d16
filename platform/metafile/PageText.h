#pragma once
// The text a page picture shows, read back from its text records in reading order.
#include "platform/metafile/PageMetafile.h"
#include "platform/text/TextMatch.h"

#include <QString>

#include <utility>
#include <vector>

namespace platform {

// One visual line of a page's text and where it stands, in page units.
struct PageTextLine {
    QString text;
    double top = 0;    // the tallest run's ascent above its baseline
    double bottom = 0; // and its descent below
    // With boxes asked for: where each character of text stands, left and right edge (a gap stands
    // between the runs it separates, with no width).
    std::vector<std::pair<float, float>> spans;
};

// The page's text line by line, top to bottom, and within a line left to right. Runs on one baseline
// are joined, with gap where they stand apart; text wholly outside the clip in force is left out.
std::vector<PageTextLine> PageTextLines(const PageMetafile &page, QChar gap, bool boxes);

// The lines above with a blank as the gap, each ended with "\n".
QString PageText(const PageMetafile &page);
// The same with gap standing where runs stand apart on a line.
QString PageText(const PageMetafile &page, QChar gap);
// Lines as above joined, each ended with "\n".
QString JoinLines(const std::vector<PageTextLine> &lines);

// The line a match lies on: its number from 0 and its text as the text export writes it, with
// blanks between runs. The preview shows it and the command line prints it.
struct PageMatchLine {
    int number = 0;
    QString text;
};
// The line holding position of searched, which was read from lines (gaps as kRunGap).
PageMatchLine MatchLine(const std::vector<PageTextLine> &lines, const TSearchText &searched, qsizetype position);

} // namespace platform
