#pragma once
// One nested record of a printout: a title, a column header, the item records, spare lines and
// a summary, with the state the page build keeps while drawing it. Records live in the model's
// record pool; a record's item list is a run of references in the model's item pool.
#include "core/Linie.h"

#include <span>

// Where the page build is in drawing a record. A record goes NotStarted, Title, ColumnHeader,
// Items, Summary, Finished; while in Items its column header opens every new page.
enum class TRecordState : quint8 {
    NotStarted = 0,
    Finished = 1,
    Title = 2,
    Summary = 3,
    Items = 4,
    ColumnHeader = 5,
};

class TMLine {
public:
    explicit TMLine(TMLineWydruk *owner);
    TMLine(const TMLine &) = delete;
    TMLine &operator=(const TMLine &) = delete;

    // Records deeper than this below the root are refused with the record's read error rather
    // than overflowing the stack.
    static constexpr int kMaxDepth = 10000;

    // Reads the record (marker 3) with its items, recursively; `depth` is 0 for the root.
    void Read(TInflateStream &stream, int depth = 0);
    // Lets go of the lines of the four blocks and of the item records (their storage goes with
    // the model's) and resets the record's own values.
    void Clear();
    // Lines in Title, in the items (recursively) and in Summary; the column header and the
    // spare lines do not count.
    int LineCount() const;

    TMLineWydruk *Owner() const { return owner_; }
    QByteArrayView Label() const;
    // The nested records, in file order.
    std::span<TMLine *const> Items() const;

    TLinie Title;
    TLinie ColumnHeader;
    TLinie SpareLines; // read and kept, never drawn
    TLinie Summary;

private:
    TMLineWydruk *owner_;
    TTextRef label_;
    quint32 items_ = 0; // handle of the run in the model's item pool
    quint32 itemCount_ = 0;

public:
    TRecordState State = TRecordState::NotStarted; // drawing state of the page build
    bool BreakBefore = false;                      // a new page starts before the record when drawn as an item
    // The item the page build is drawing: those before it are finished, so repeating the column
    // headers starts there rather than walking every earlier item on every page.
    quint32 ItemInProgress = 0;
};
