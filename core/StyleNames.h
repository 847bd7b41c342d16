#pragma once
// The distinct style names of a printout, each kept once: fields refer to an entry, and the
// entry remembers which style the name found, so a lookup runs once per name, not per field.
#include <QByteArray>
#include <QByteArrayView>

#include <deque>
#include <string_view>
#include <unordered_map>

class TMLineWydruk;
class TStyl;

struct TStyleName {
    QByteArray Name;
    TMLineWydruk *Owner = nullptr;
    TStyl *Styl = nullptr; // the lookup result, filled on first use
};

class TStyleNameTable {
public:
    explicit TStyleNameTable(TMLineWydruk *owner);
    TStyleNameTable(const TStyleNameTable &) = delete;
    TStyleNameTable &operator=(const TStyleNameTable &) = delete;

    // The entry for this name, made on first sight. Entries stay put until Clear().
    TStyleName *Intern(QByteArrayView name)
    {
        if (last_ && QByteArrayView(last_->Name) == name)
            return last_;
        return InternSlow(name);
    }
    // The entry of the default name "Domyslny" that new fields start with.
    TStyleName *Default() const { return default_; }
    // Forgets the remembered lookups (the style list changed).
    void ForgetStyles();
    // Drops every entry but the default one.
    void Clear();
    size_t Count() const { return entries_.size(); }

private:
    TStyleName *InternSlow(QByteArrayView name);

    TMLineWydruk *owner_;
    std::deque<TStyleName> entries_;
    std::unordered_map<std::string_view, TStyleName *> index_;
    TStyleName *default_ = nullptr;
    TStyleName *last_ = nullptr;
};
