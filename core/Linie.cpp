#include "core/Linie.h"

#include "core/MLineWydruk.h"

void TLinie::Read(TInflateStream &stream)
{
    qint32 count;
    try {
        if (stream.ReadU8() != marker::kBlock)
            throw EReadFileError::Marker(marker::kBlock);
        Splittable = stream.ReadU8() != 0;
        BreakBefore = stream.ReadU8() != 0;
        count = stream.ReadI32();
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kBlock);
    }
    // Lines gather in the model's scratch list, which grows only as lines are actually read
    // (the count is not trusted), and then move here in a list of exactly their number.
    std::vector<TLinia> &scratch = owner_->LineScratch();
    scratch.clear();
    const auto keep = [&] {
        lines_.clear();
        lines_.reserve(scratch.size());
        std::move(scratch.begin(), scratch.end(), std::back_inserter(lines_));
        scratch.clear();
    };
    try {
        for (qint32 i = 0; i < count; ++i) {
            scratch.emplace_back(this);
            scratch.back().Read(stream);
        }
    } catch (...) {
        // What was read whole stays in the model; the line that failed does not.
        scratch.pop_back();
        keep();
        throw;
    }
    keep();
}

void TLinie::Clear()
{
    lines_.clear();
    lines_.shrink_to_fit();
}
