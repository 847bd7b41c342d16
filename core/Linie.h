#pragma once
// A block: the lines of one part of a record (title, column header, spare lines or summary),
// owned by value, with the block's page-break rules.
#include "core/Linia.h"

#include <vector>

class TMLine;

class TLinie {
public:
    TLinie(TMLineWydruk *owner, TMLine *record) : owner_(owner), record_(record) {}
    TLinie(const TLinie &) = delete;
    TLinie &operator=(const TLinie &) = delete;

    // Reads the block record (marker 4) and its lines.
    void Read(TInflateStream &stream);
    // Frees the lines.
    void Clear();

    TMLineWydruk *Owner() const { return owner_; }
    TMLine *Record() const { return record_; }

    int Count() const { return static_cast<int>(lines_.size()); }
    TLinia &operator[](int i) { return lines_[static_cast<size_t>(i)]; }
    const TLinia &operator[](int i) const { return lines_[static_cast<size_t>(i)]; }
    auto begin() { return lines_.begin(); }
    auto end() { return lines_.end(); }
    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

    bool Splittable = false;  // a page may break between the lines
    bool BreakBefore = false; // a new page starts before the block

private:
    std::vector<TLinia> lines_;
    TMLineWydruk *owner_;
    TMLine *record_;
};
