#include "core/StyleNames.h"

namespace {

// What a table entry costs beside its own bytes: the hash node and the deque's share.
constexpr qint64 kEntryOverhead = 48;

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
    bytes_ += qint64(sizeof(TStyleName)) + entry.Name.size() + kEntryOverhead;
    return last_ = &entry;
}

const TFieldLook *TStyleNameTable::LookSlow(const TFieldLook &look)
{
    auto found = lookIndex_.find(look);
    if (found == lookIndex_.end()) {
        const TFieldLook &entry = looks_.emplace_back(look);
        found = lookIndex_.emplace(entry, &entry).first;
        bytes_ += qint64(sizeof(TFieldLook)) + kEntryOverhead;
    }
    return found->second;
}

void TStyleNameTable::ForgetStyles()
{
    for (TStyleName &entry : entries_)
        entry.Styl = nullptr;
}

void TStyleNameTable::Clear()
{
    lookIndex_.clear();
    looks_.clear();
    recentLooks_.fill(nullptr);
    index_.clear();
    entries_.clear();
    last_ = nullptr;
    default_ = InternSlow("Domyslny");
    defaultLook_ = Look({default_});
    bytes_ = 0; // an empty model's own
}
