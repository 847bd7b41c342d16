#include "core/Linia.h"

#include "core/MLineWydruk.h"

TMLineWydruk *TLinia::Owner() const
{
    return block_->Owner();
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
    // At most 255 by the format, so reserving for the count cannot run away.
    fields_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        // A field joins the line once it has been read whole.
        try {
            fields_.emplace_back(model).Read(stream);
        } catch (...) {
            fields_.pop_back();
            throw;
        }
    }
}
