#pragma once
// The distinct style names of a printout, each kept once: fields refer to an entry, and the
// entry remembers which style the name found, so a lookup runs once per name, not per field.
// Each distinct look of a field (its style name with the bytes that say how it is drawn) is
// kept once as well: the fields of a column share one.
#include <QByteArray>
#include <QByteArrayView>

#include <array>
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

// A field's style name and the bytes that say how the field is drawn, shared by every field that
// has the same.
struct TFieldLook {
    TStyleName *Name = nullptr;
    quint8 Kind = 0;
    quint8 Alignment = 0;
    quint8 RuleStyle = 0;
    quint8 Flags = 0;
    friend bool operator==(const TFieldLook &, const TFieldLook &) = default;
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
    // The shared entry for this look, made on first sight. Entries stay put until Clear().
    const TFieldLook *Look(const TFieldLook &look)
    {
        const TFieldLook *&recent = recentLooks_[LookHash{}(look) % kRecentLooks];
        if (!recent || !(*recent == look))
            recent = LookSlow(look);
        return recent;
    }
    // The look new fields start with: the default name "Domyslny", the rest zero.
    const TFieldLook *DefaultLook() const { return defaultLook_; }
    // Forgets the remembered lookups (the style list changed).
    void ForgetStyles();
    // Drops every entry but the default one.
    void Clear();
    size_t Count() const { return entries_.size(); }
    // About what the printout's names and looks take, for the model's memory budget.
    qint64 Bytes() const { return bytes_; }

private:
    struct LookHash {
        size_t operator()(const TFieldLook &look) const
        {
            const auto bits = quint64(look.Kind) | quint64(look.Alignment) << 8 | quint64(look.RuleStyle) << 16 |
                              quint64(look.Flags) << 24;
            return size_t((reinterpret_cast<quintptr>(look.Name) >> 3 ^ bits * 0x9E3779B97F4A7C15u) >> 7);
        }
    };
    // Looks of a few columns, seen again and again row after row, without a hash table lookup.
    static constexpr size_t kRecentLooks = 64;

    TStyleName *InternSlow(QByteArrayView name);
    const TFieldLook *LookSlow(const TFieldLook &look);

    TMLineWydruk *owner_;
    std::deque<TStyleName> entries_;
    std::unordered_map<std::string_view, TStyleName *> index_;
    TStyleName *default_ = nullptr;
    TStyleName *last_ = nullptr;
    std::deque<TFieldLook> looks_;
    std::unordered_map<TFieldLook, const TFieldLook *, LookHash> lookIndex_;
    std::array<const TFieldLook *, kRecentLooks> recentLooks_{};
    const TFieldLook *defaultLook_ = nullptr;
    qint64 bytes_ = 0;
};
