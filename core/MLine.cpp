#include "core/MLine.h"

#include "core/BodyString.h"
#include "core/MLineWydruk.h"

TMLine::TMLine(TMLineWydruk *owner)
    : Title(owner, this), ColumnHeader(owner, this), SpareLines(owner, this), Summary(owner, this),
      owner_(owner)
{
}

TMLine::~TMLine() = default;

namespace {

void ExpectMarker(TInflateStream &stream, quint8 expected)
{
    try {
        if (stream.ReadU8() == expected)
            return;
    } catch (const EBodyEnded &) {
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
    // Items are appended as they are read; the count only says when to stop.
    for (qint32 i = 0; i < count; ++i) {
        auto item = std::make_unique<TMLine>(owner_);
        item->Read(stream, depth + 1);
        Items.push_back(std::move(item));
    }
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
    Items.clear();
    Items.shrink_to_fit();
    SpareLines.Clear();
    Summary.Clear();
    State = 0;
    BreakBefore = false;
    label_ = {};
}

int TMLine::LineCount() const
{
    int count = Title.Count() + Summary.Count();
    for (const auto &item : Items)
        count += item->LineCount();
    return count;
}

QByteArrayView TMLine::Label() const
{
    return owner_->Texts().View(label_);
}
