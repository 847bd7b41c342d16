#pragma once
// Reading a page's records in order, shared recordings in place of the records that refer to them.
// Internal to PageMetafile.
#include "platform/metafile/RecordCodec_p.h"

namespace platform {

// The record every walk of a page starts with: the page's size, and black to start with.
inline MetaRecord HeaderRecord(const MetafileData &data)
{
    MetaRecord record;
    record.type = EmrHeader;
    record.size = data.size;
    record.color = Qt::black;
    return record;
}

// Decodes every record of data into record and hands it to each (which answers false to stop);
// a RecShared record hands the index of the recording it refers to to shared instead (which also
// answers false to stop). Damaged records and references are counted in failed and skipped.
// Answers false when stopped.
template <typename Each, typename Shared>
bool WalkRecords(const MetafileData &data, MetaRecord &record, int &failed, Each &&each, Shared &&shared)
{
    RecordReader reader(data.stream);
    while (reader.Next()) {
        if (reader.Type() == RecShared) {
            const quint32 index = reader.Get<quint32>();
            const MetafileData *target =
                reader.Ok() && index < quint32(data.shared.size()) ? data.shared[index].get() : nullptr;
            // A shared recording never refers to another: there is one level, so no cycle.
            if (!target || !target->shared.isEmpty()) {
                ++failed;
                continue;
            }
            if (!shared(index))
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

// WalkRecords with the records of each shared recording in place of the reference to it.
template <typename Each> bool WalkRecords(const MetafileData &data, MetaRecord &record, int &failed, Each &&each)
{
    return WalkRecords(data, record, failed, each,
                       [&](quint32 index) { return WalkRecords(*data.shared[index], record, failed, each); });
}

} // namespace platform
