#include "core/Linie.h"

#include "core/MLineWydruk.h"

#include <algorithm>

static_assert(sizeof(TLinie) <= 16, "every record has four blocks: keep them small");

TMLineWydruk *TLinie::Owner() const
{
    return record_->Owner();
}

TLinia *TLinie::Lines() const
{
    return Owner()->Lines().Resolve(lines_);
}

void TLinie::Read(TInflateStream &stream)
{
    qint32 count;
    try {
        if (stream.ReadU8() != marker::kBlock)
            throw EReadFileError::Marker(marker::kBlock);
        SetSplittable(stream.ReadU8() != 0);
        SetBreakBefore(stream.ReadU8() != 0);
        count = stream.ReadI32();
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kBlock);
    }
    // Lines gather in the model's scratch list, which grows only as lines are actually read
    // (the count is not trusted), and then move into a run of exactly their number.
    TMLineWydruk &model = *Owner();
    std::vector<TLinia> &scratch = model.LineScratch();
    scratch.clear();
    const auto keep = [&] {
        const auto run = model.Lines().Allocate(scratch.size());
        std::uninitialized_copy(scratch.begin(), scratch.end(), run.At);
        lines_ = run.Handle;
        bits_ = (bits_ & ~kCountMask) | static_cast<quint32>(scratch.size());
        scratch.clear();
    };
    model.CheckReadBudget();
    for (qint32 i = 0; i < count; ++i) {
        if (scratch.size() + 1 >= kMaxLines) {
            keep();
            throw EReadFileError::Marker(marker::kBlock);
        }
        // Before the list grows (it takes twice its room, and the old room until it moved) and
        // every so many lines, as their fields and texts add up.
        if (scratch.size() == scratch.capacity())
            model.CheckReadBudget(qint64(std::max<size_t>(scratch.capacity(), 64) * 2 * sizeof(TLinia)));
        else if (i % 4096 == 0)
            model.CheckReadBudget();
        scratch.emplace_back(this);
        try {
            scratch.back().Read(stream);
        } catch (...) {
            // What was read whole stays in the model; the line that failed does not.
            scratch.pop_back();
            keep();
            throw;
        }
    }
    keep();
}

void TLinie::Clear()
{
    lines_ = 0;
    bits_ &= ~kCountMask;
}
