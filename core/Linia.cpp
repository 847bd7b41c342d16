#include "core/Linia.h"

#include "core/MLineWydruk.h"

#include <new>

static_assert(sizeof(TLinia) <= 16, "a printout has a line per handful of fields: keep lines small");

TMLineWydruk *TLinia::Owner() const
{
    return block_->Owner();
}

TPole *TLinia::Fields() const
{
    return Owner()->Fields().Resolve(fields_);
}

void TLinia::Read(TInflateStream &stream)
{
    size_t count;
    try {
        if (stream.ReadU8() != marker::kLine)
            throw EReadFileError::Marker(marker::kLine);
        SkipAtTop = stream.ReadU8() != 0;
        count = stream.ReadU8();
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kLine);
    }
    TMLineWydruk *model = Owner();
    // At most 255 by the format, so taking room for the count cannot run away.
    const auto run = model->Fields().Allocate(count);
    fields_ = run.Handle;
    count_ = 0;
    // A field joins the line once it has been read whole.
    for (size_t i = 0; i < count; ++i) {
        (new (run.At + i) TPole(model))->Read(stream);
        ++count_;
    }
}
