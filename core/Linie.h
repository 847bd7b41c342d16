#pragma once
// A block: the lines of one part of a record (title, column header, spare lines or summary),
// with the block's page-break rules. The lines live in the model's line pool.
#include "core/Linia.h"

class TMLine;

class TLinie {
public:
    explicit TLinie(TMLine *record) : record_(record) {}
    TLinie(const TLinie &) = delete;
    TLinie &operator=(const TLinie &) = delete;

    // Reads the block record (marker 4) and its lines.
    void Read(TInflateStream &stream);
    // Lets go of the lines (their storage goes with the model's).
    void Clear();

    TMLineWydruk *Owner() const;
    TMLine *Record() const { return record_; }

    int Count() const { return static_cast<int>(bits_ & kCountMask); }
    TLinia &operator[](int i) { return Lines()[i]; }
    const TLinia &operator[](int i) const { return Lines()[i]; }
    TLinia *begin() { return Lines(); }
    TLinia *end() { return Lines() + Count(); }
    const TLinia *begin() const { return Lines(); }
    const TLinia *end() const { return Lines() + Count(); }

    // A page may break between the lines.
    bool Splittable() const { return bits_ & kSplittable; }
    void SetSplittable(bool on) { bits_ = on ? bits_ | kSplittable : bits_ & ~kSplittable; }
    // A new page starts before the block.
    bool BreakBefore() const { return bits_ & kBreakBefore; }
    void SetBreakBefore(bool on) { bits_ = on ? bits_ | kBreakBefore : bits_ & ~kBreakBefore; }

    // A block holds fewer lines than this (a billion lines would not fit in memory anyway).
    static constexpr quint32 kMaxLines = 1u << 30;

private:
    static constexpr quint32 kCountMask = kMaxLines - 1;
    static constexpr quint32 kSplittable = 1u << 30;
    static constexpr quint32 kBreakBefore = 1u << 31;

    TLinia *Lines() const;

    TMLine *record_;
    quint32 lines_ = 0; // handle of the run in the model's line pool
    quint32 bits_ = 0;  // line count and the two flags
};
