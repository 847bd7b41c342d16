#pragma once
// One nested record of a printout: a title, a column header, the item records, spare lines and
// a summary, with the state the page build keeps while drawing it.
#include "core/Linie.h"

#include <memory>
#include <vector>

class TMLine {
public:
    explicit TMLine(TMLineWydruk *owner);
    ~TMLine();
    TMLine(const TMLine &) = delete;
    TMLine &operator=(const TMLine &) = delete;

    // Records deeper than this below the root are refused with the record's read error rather
    // than overflowing the stack.
    static constexpr int kMaxDepth = 10000;

    // Reads the record (marker 3) with its items, recursively; `depth` is 0 for the root.
    void Read(TInflateStream &stream, int depth = 0);
    // Frees the lines of the four blocks and all item records.
    void Clear();
    // Lines in Title, in the items (recursively) and in Summary; the column header and the
    // spare lines do not count.
    int LineCount() const;

    TMLineWydruk *Owner() const { return owner_; }
    QByteArrayView Label() const;

    TLinie Title;
    TLinie ColumnHeader;
    std::vector<std::unique_ptr<TMLine>> Items;
    TLinie SpareLines; // read and kept, never drawn
    TLinie Summary;

    // Drawing state of the page build: 0 not started, 2 title, 5 column header, 4 items,
    // 3 summary, 1 finished.
    quint8 State = 0;
    bool BreakBefore = false; // a new page starts before the record when drawn as an item

private:
    TMLineWydruk *owner_;
    TTextRef label_;
};
