#pragma once
// Reading a page's records in order, shared recordings in place of the records that refer to them.
// Internal to PageMetafile.
#include "platform/metafile/RecordCodec_p.h"

namespace platform {

// Decodes every record of data into record and hands it to each (which answers false to stop); a
// RecShared record hands over the records of the recording it refers to instead. Damaged records
// are counted in failed and skipped. Answers false when each stopped.
template <typename Each> bool WalkRecords(const MetafileData &data, MetaRecord &record, int &failed, Each &&each)
{
    RecordReader reader(data.stream);
    while (reader.Next()) {
        if (reader.Type() == RecShared) {
            const quint32 index = reader.Get<quint32>();
            const MetafileData *shared =
                reader.Ok() && index < quint32(data.shared.size()) ? data.shared[index].get() : nullptr;
            // A shared recording never refers to another: there is one level, so no cycle.
            if (!shared || !shared->shared.isEmpty()) {
                ++failed;
                continue;
            }
            if (!WalkRecords(*shared, record, failed, each))
                return false;
            continue;
        }
        if (!DecodeRecord(data, reader, record)) {
            ++failed;
            continue;
        }
        if (!each(record))
            return false;
    }
    return true;
}

} // namespace platform
