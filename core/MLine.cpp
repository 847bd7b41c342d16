#include "core/MLine.h"

#include "core/BodyString.h"
#include "core/MLineWydruk.h"

#include <algorithm>

static_assert(sizeof(TMLine) <= 96, "a listing may have a record per row: keep records small");

TMLine::TMLine(TMLineWydruk *owner) : Title(this), ColumnHeader(this), SpareLines(this), Summary(this), owner_(owner) {}

namespace {

void ExpectMarker(TInflateStream &stream, quint8 expected)
{
    try {
        if (stream.ReadU8() == expected)
            return;
    } catch (const EBodyEnded &) {
        // A body that ends where the marker should be is told as that marker missing, below.
    }
    throw EReadFileError::Marker(expected);
}

} // namespace

void TMLine::Read(TInflateStream &stream, int depth)
{
    if (depth > kMaxDepth)
        throw EReadFileError::Marker(marker::kRecord);
    ExpectMarker(stream, marker::kRecord);
    Title.Read(stream);
    ColumnHeader.Read(stream);
    ExpectMarker(stream, marker::kItems);
    qint32 count;
    try {
        count = stream.ReadI32();
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kItems);
    }
    // Items gather on the model's item stack as they are read (the count only says when to
    // stop; nested records use the stack above this record's part and leave it as they found
    // it), then move into a run of exactly their number.
    std::vector<TMLine *> &stack = owner_->ItemStack();
    const size_t base = stack.size();
    const auto keep = [&] {
        const size_t n = stack.size() - base;
        const auto run = owner_->ItemRuns().Allocate(n);
        std::copy(stack.begin() + static_cast<std::ptrdiff_t>(base), stack.end(), run.At);
        items_ = run.Handle;
        itemCount_ = static_cast<quint32>(n);
        stack.resize(base);
    };
    try {
        for (qint32 i = 0; i < count; ++i) {
            TMLine *item = owner_->NewRecord();
            item->Read(stream, depth + 1);
            stack.push_back(item);
        }
    } catch (...) {
        // The items read whole stay in the model; the one that failed does not.
        keep();
        throw;
    }
    keep();
    SpareLines.Read(stream);
    Summary.Read(stream);
    if (owner_->Version < 2)
        return;
    ExpectMarker(stream, marker::kTrailer);
    const QByteArrayView label = BodyStringView(stream);
    try {
        label_ = owner_->Texts().Add(label);
        BreakBefore = stream.ReadU8() != 0;
    } catch (const std::length_error &) {
        throw EReadFileError::Marker(marker::kShortString);
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kTrailer);
    }
}

void TMLine::Clear()
{
    Title.Clear();
    ColumnHeader.Clear();
    SpareLines.Clear();
    Summary.Clear();
    items_ = 0;
    itemCount_ = 0;
    State = TRecordState::NotStarted;
    ItemInProgress = 0;
    BreakBefore = false;
    label_ = {};
}

std::span<TMLine *const> TMLine::Items() const
{
    return {owner_->ItemRuns().Resolve(items_), itemCount_};
}

int TMLine::LineCount() const
{
    int count = Title.Count() + Summary.Count();
    for (const TMLine *item : Items())
        count += item->LineCount();
    return count;
}

QByteArrayView TMLine::Label() const
{
    return owner_->Texts().View(label_);
}
