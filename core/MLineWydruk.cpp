#include "core/MLineWydruk.h"

#include "core/PositionScale.h"

#include <QScopeGuard>

#include <new>

TMLineWydruk::TMLineWydruk()
    : styleNames_(this),
      // LinesPerPage is already 84 here: the default style is sized for 84 lines.
      styles_(std::make_unique<TStyle>(this)), root_(std::make_unique<TMLine>(this))
{
}

TMLineWydruk::~TMLineWydruk() = default;

void TMLineWydruk::ReadBody(TInflateStream &stream)
{
    Clear();
    const auto release = qScopeGuard([this] {
        std::vector<TLinia>().swap(lineScratch_);
        std::vector<TMLine *>().swap(itemStack_);
    });
    ReadGlobals(stream);
    styles_->Read(stream);
    root_->Read(stream, 0);
}

void TMLineWydruk::ReadGlobals(TInflateStream &stream)
{
    try {
        Version = stream.ReadU8();
        if (Version > 7)
            throw EReadFileError::UnknownVersion(Version);
        Resolution = Version >= 5 ? stream.ReadI32() : 1200;
        if (Resolution <= 0)
            throw EReadFileError::BadResolution(Resolution);
        PositionScale = PositionScaleFor(Resolution);
        LineSpacing = stream.ReadF32();
        // Spacing only ever adds room: a NaN or negative one would stack lines on each other.
        if (!(LineSpacing >= 0))
            LineSpacing = 0;
        Ignored1 = stream.ReadI32();
        Ignored2 = stream.ReadU8();
        // Older bodies do not store it; they mean the model's default.
        LinesPerPage = Version >= 2 ? stream.ReadI32() : 84;
    } catch (const EBodyEnded &) {
        // A body that stops among its global values never reaches its root record.
        throw EReadFileError::Marker(marker::kRecord);
    }
}

void TMLineWydruk::Clear()
{
    pages_.Clear();
    styles_->ClearFileStyles();
    root_->Clear();
    pictures_.clear();
    pictures_.rehash(0);
    pictureBytes_ = 0;
    records_.Clear();
    itemRuns_.Clear();
    lines_.Clear();
    fields_.Clear();
    styleNames_.Clear();
    texts_.Clear();
    TotalLines = 0;
}

int TMLineWydruk::TotalLineCount()
{
    if (TotalLines == 0)
        TotalLines = root_->LineCount();
    return TotalLines;
}

TMLine *TMLineWydruk::NewRecord()
{
    return new (records_.Allocate(1).At) TMLine(this);
}

void TMLineWydruk::AdoptPicture(const TPole &field, std::unique_ptr<TMetafileImage> picture)
{
    const auto it = pictures_.find(&field);
    if (it != pictures_.end()) {
        pictureBytes_ -= it->second->Data.size();
        pictures_.erase(it);
    }
    if (!picture)
        return;
    const qint64 bytes = picture->Data.size();
    CheckReadBudget(bytes);
    pictureBytes_ += bytes;
    pictures_.emplace(&field, std::move(picture));
}

const TMetafileImage *TMLineWydruk::PictureOf(const TPole &field) const
{
    const auto it = pictures_.find(&field);
    return it == pictures_.end() ? nullptr : it->second.get();
}

qint64 TMLineWydruk::ModelBytes() const
{
    return qint64(texts_.Capacity() + fields_.Capacity() + lines_.Capacity() + records_.Capacity() +
                  itemRuns_.Capacity()) +
           qint64(lineScratch_.capacity() * sizeof(TLinia) + itemStack_.capacity() * sizeof(TMLine *)) + pictureBytes_ +
           styleNames_.Bytes();
}

void TMLineWydruk::CheckReadBudget(qint64 growth) const
{
    if (ModelBytes() + pages_.PageBytes() + growth > MemoryBudget)
        throw ETooLarge();
}
