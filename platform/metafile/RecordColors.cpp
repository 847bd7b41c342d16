#include "platform/metafile/RecordColors.h"

namespace platform {

void ForceRecordColors(MetaRecord &record, const QColor &paper, const QColor &ink)
{
    switch (record.type) {
    case EmrHeader:
    case EmrSetTextColor:
        record.color = ink;
        break;
    case EmrSetBkColor:
        record.color = paper;
        break;
    case EmrCreatePen:
    case EmrExtCreatePen:
        record.pen.setColor(ink);
        break;
    case EmrCreateBrushIndirect:
        record.brush.setColor(paper);
        break;
    default:
        break;
    }
}

RecordCallback MonochromeRecords()
{
    return [](MetaRecord &record) {
        ForceRecordColors(record, Qt::white, Qt::black);
        return true;
    };
}

} // namespace platform
