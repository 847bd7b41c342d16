#pragma once
// One printout line: the fields drawn side by side. The fields live in the model's field pool.
#include "core/Pole.h"

class TLinie;

class TLinia {
public:
    explicit TLinia(TLinie *block) : block_(block) {}

    // Reads the line record (marker 5) and its fields.
    void Read(TInflateStream &stream);

    TLinie *Block() const { return block_; }
    TMLineWydruk *Owner() const;

    int Count() const { return count_; }
    TPole &operator[](int i) { return fields_[i]; }
    const TPole &operator[](int i) const { return fields_[i]; }
    TPole *begin() { return fields_; }
    TPole *end() { return fields_ + count_; }
    const TPole *begin() const { return fields_; }
    const TPole *end() const { return fields_ + count_; }

private:
    TPole *fields_ = nullptr;
    TLinie *block_;
    quint8 count_ = 0;

public:
    bool SkipAtTop = false; // dropped where it would open a page and in repeated headers
};
