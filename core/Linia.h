#pragma once
// One printout line: the fields drawn side by side, owned by value.
#include "core/Pole.h"

#include <vector>

class TLinie;

class TLinia {
public:
    explicit TLinia(TLinie *block) : block_(block) {}

    // Reads the line record (marker 5) and its fields.
    void Read(TInflateStream &stream);

    TLinie *Block() const { return block_; }
    TMLineWydruk *Owner() const;

    int Count() const { return static_cast<int>(fields_.size()); }
    TPole &operator[](int i) { return fields_[static_cast<size_t>(i)]; }
    const TPole &operator[](int i) const { return fields_[static_cast<size_t>(i)]; }
    auto begin() { return fields_.begin(); }
    auto end() { return fields_.end(); }
    auto begin() const { return fields_.begin(); }
    auto end() const { return fields_.end(); }

    bool SkipAtTop = false; // dropped where it would open a page and in repeated headers

private:
    std::vector<TPole> fields_;
    TLinie *block_;
};
