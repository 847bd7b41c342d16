#include "core/StyleNames.h"

namespace {
std::string_view Key(const QByteArray &name)
{
    return std::string_view(name.constData(), static_cast<size_t>(name.size()));
}
} // namespace

TStyleNameTable::TStyleNameTable(TMLineWydruk *owner) : owner_(owner)
{
    Clear();
}

TStyleName *TStyleNameTable::InternSlow(QByteArrayView name)
{
    const std::string_view key(name.data(), static_cast<size_t>(name.size()));
    auto found = index_.find(key);
    if (found != index_.end())
        return last_ = found->second;
    TStyleName &entry = entries_.emplace_back();
    entry.Name = name.toByteArray();
    entry.Owner = owner_;
    index_.emplace(Key(entry.Name), &entry);
    return last_ = &entry;
}

void TStyleNameTable::ForgetStyles()
{
    for (TStyleName &entry : entries_)
        entry.Styl = nullptr;
}

void TStyleNameTable::Clear()
{
    index_.clear();
    entries_.clear();
    last_ = nullptr;
    default_ = InternSlow("Domyslny");
}
