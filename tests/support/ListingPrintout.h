#pragma once
// The long listing printout the benchmarks share: 10,000 pages of invoice rows, about 840,000 lines
// of 5 to 8 fields, from a fixed generator so that every run writes the same file.
#include "tests/support/WydWriter.h"

#include <QString>

namespace wydtest {

inline constexpr int kListingPages = 10000;
inline constexpr int kListingLinesPerPage = 84;

struct ListingWritten {
    qint64 body = 0, file = 0, lines = 0, fields = 0;
};

// Writes the listing of about `pages` pages to path, streamed. Root (title, column header) -> groups of 40 documents ->
// documents whose positions are the lines of their title block or, with recordPerRow, item records
// of one line each, and a summary line.
ListingWritten WriteListingPrintout(const QString &path, bool recordPerRow, int pages = kListingPages);

// Writes a flat listing of about `pages` pages: the root's title and column header over item records
// of one row each, so that the header repeats on every page above one long run of items.
ListingWritten WriteItemListingPrintout(const QString &path, int pages);

} // namespace wydtest
