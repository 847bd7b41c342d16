#include "platform/files/FileList.h"

#include <QCollator>
#include <algorithm>

void TFileList::Sort(SortKind kind)
{
    switch (kind) {
    case SortByNameNoCase:
    case SortByName: {
        QCollator collator; // the user's locale
        collator.setCaseSensitivity(kind == SortByName ? Qt::CaseSensitive : Qt::CaseInsensitive);
        std::sort(items_.begin(), items_.end(), [&](const TFileObj &a, const TFileObj &b) {
            return collator.compare(a.FullName(), b.FullName()) < 0;
        });
        break;
    }
    case SortByTime:
        std::sort(items_.begin(), items_.end(), [](const TFileObj &a, const TFileObj &b) { return a.Time < b.Time; });
        break;
    default:
        break;
    }
}
