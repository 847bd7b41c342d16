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
    TPole &operator[](int i) { return Fields()[i]; }
    const TPole &operator[](int i) const { return Fields()[i]; }
    TPole *begin() { return Fields(); }
    TPole *end() { return Fields() + count_; }
    const TPole *begin() const { return Fields(); }
    const TPole *end() const { return Fields() + count_; }

private:
    TPole *Fields() const;

    TLinie *block_;
    quint32 fields_ = 0; // handle of the run in the model's field pool
    quint8 count_ = 0;

public:
    bool SkipAtTop = false; // dropped where it would open a page and in repeated headers
};
