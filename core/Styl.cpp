#include "core/Styl.h"

#include "core/AnsiCase.h"
#include "core/BodyString.h"
#include "core/MLineWydruk.h"

namespace {

// The page is 210 x 294 mm; a style's cell divides it into its columns and the page's lines.
constexpr long double kPageWidth = 210;
constexpr long double kPageHeight = 294;
constexpr qint32 kDefaultColumns = 132;

} // namespace

TStyl::TStyl(TMLineWydruk *owner)
    : CharHeight(static_cast<float>(kPageHeight / (owner->LinesPerPage > 0 ? owner->LinesPerPage : 84))),
      CharWidth(static_cast<float>(kPageWidth / kDefaultColumns)), owner_(owner)
{
}

void TStyl::Read(TInflateStream &stream)
{
    try {
        if (stream.ReadU8() != marker::kStyle)
            throw EReadFileError::Marker(marker::kStyle);
        Color = stream.ReadI32();
        CharHeight = stream.ReadF32();
        Columns = stream.ReadI32();
        CharWidth = stream.ReadF32();
        FontStyle = stream.ReadU8();
        Reserved = stream.ReadI32();
        if (owner_->Version >= 3)
            Charset = stream.ReadI32();
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kStyle);
    }
    FontName = BodyString(stream);
    Name = BodyString(stream);
    Alias = BodyString(stream);
}

TStyle::TStyle(TMLineWydruk *owner) : owner_(owner)
{
    auto def = std::make_unique<TStyl>(owner);
    def->Name = "Domyslny";
    def->Columns = kDefaultColumns;
    def->CharWidth = static_cast<float>(kPageWidth / def->Columns);
    def->CharHeight = static_cast<float>(kPageHeight * kDefaultColumns / (owner->LinesPerPage * def->Columns));
    items_.push_back(std::move(def));
}

void TStyle::Read(TInflateStream &stream)
{
    qint32 count;
    try {
        count = stream.ReadI32();
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kStyle);
    }
    // Styles are appended as they are read; the count only says when to stop.
    for (qint32 i = 0; i < count; ++i) {
        auto styl = std::make_unique<TStyl>(owner_);
        styl->Read(stream);
        Add(std::move(styl));
    }
}

TStyl *TStyle::Add(std::unique_ptr<TStyl> styl)
{
    items_.push_back(std::move(styl));
    owner_->StyleNames().ForgetStyles();
    return items_.back().get();
}

void TStyle::ClearFileStyles()
{
    items_.resize(1);
    index_.clear();
    indexed_ = 1;
    owner_->StyleNames().ForgetStyles();
}

TStyl *TStyle::Find(QByteArrayView name) const
{
    // The first style wins a name: a key already there is kept.
    for (; indexed_ < items_.size(); ++indexed_) {
        const TStyl &s = *items_[indexed_];
        for (const QByteArray *key : {&s.Name, &s.Alias}) {
            const QByteArray upper = AnsiUpperCase(*key);
            if (!index_.contains(upper))
                index_.insert(upper, int(indexed_));
        }
    }
    const auto found = index_.constFind(AnsiUpperCase(name));
    return found == index_.cend() ? Default() : items_[size_t(*found)].get();
}

bool TStyle::AnyChanged() const
{
    for (size_t i = 1; i < items_.size(); ++i)
        if (items_[i]->Changed)
            return true;
    return false;
}

void TStyle::SetChanged()
{
    for (size_t i = 1; i < items_.size(); ++i)
        items_[i]->Changed = true;
}

void TStyle::ClearChanged()
{
    for (size_t i = 1; i < items_.size(); ++i)
        items_[i]->Changed = false;
}
