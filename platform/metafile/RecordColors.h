#pragma once
// Black-and-white printing of page pictures: the colour-carrying records forced to ink and paper.
#include "platform/metafile/PageMetafile.h"

namespace platform {

// Changes one record as monochrome printing plays it: the header and text colours and pens become
// ink, background colours and brushes become paper; every other record (pictures among them) keeps
// its colours.
void ForceRecordColors(MetaRecord &record, const QColor &paper, const QColor &ink);

// A record callback for Enumerate or Visit that forces paper white and ink black.
RecordCallback MonochromeRecords();

} // namespace platform
