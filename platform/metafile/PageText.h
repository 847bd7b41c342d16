#pragma once
// The text a page picture shows, read back from its text records in reading order.
#include "platform/metafile/PageMetafile.h"

#include <QString>

namespace platform {

// The page's text line by line, top to bottom, and within a line left to right. Runs on one baseline
// are joined, with a blank where they stand apart; text wholly outside the clip in force is left out.
// Lines end with "\n".
QString PageText(const PageMetafile &page);
// The same with gap standing where runs stand apart on a line (a blank in PageText above).
QString PageText(const PageMetafile &page, QChar gap);

} // namespace platform
