#pragma once
// The document model of one printout: its global values, text styles and the tree of records
// whose leaves are lines of fields. It owns everything below it, and its page build (with the
// pages made); the classes below hold plain references back to it.
#include "core/MLine.h"
#include "core/MemoryBudget.h"
#include "core/MetafileImage.h"
#include "core/Pagination.h"
#include "core/RunPool.h"
#include "core/Styl.h"
#include "core/StyleNames.h"
#include "core/TextStore.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TMLineWydruk {
public:
    TMLineWydruk();
    virtual ~TMLineWydruk();
    TMLineWydruk(const TMLineWydruk &) = delete;
    TMLineWydruk &operator=(const TMLineWydruk &) = delete;

    // Empties the model and reads a whole body from the inflating stream. On an error the
    // model keeps what was read up to it.
    void ReadBody(TInflateStream &stream);
    // Frees every style but the default one and empties the record tree.
    void Clear();
    // The root record's line count, counted once and cached in TotalLines.
    int TotalLineCount();

    TMLine &Root() { return *root_; }
    const TMLine &Root() const { return *root_; }
    TStyle &Styles() { return *styles_; }
    const TStyle &Styles() const { return *styles_; }

    // Storage the model keeps for its fields and records.
    TTextStore &Texts() { return texts_; }
    const TTextStore &Texts() const { return texts_; }
    TStyleNameTable &StyleNames() { return styleNames_; }
    TRunPool<TPole> &Fields() { return fields_; }
    TRunPool<TLinia> &Lines() { return lines_; }
    const TRunPool<TLinia> &Lines() const { return lines_; }
    const TRunPool<TMLine *> &ItemRuns() const { return itemRuns_; }
    TRunPool<TMLine *> &ItemRuns() { return itemRuns_; }
    // A new empty record in the model's record pool.
    TMLine *NewRecord();
    // Where records gather their items while reading them.
    std::vector<TMLine *> &ItemStack() { return itemStack_; }
    // Takes a picture field's picture, in place of any it had; none drops it.
    void AdoptPicture(const TPole &field, std::unique_ptr<TMetafileImage> picture);
    const TMetafileImage *PictureOf(const TPole &field) const;
    int PictureCount() const { return static_cast<int>(pictures_.size()); }
    // Where a block gathers its lines while reading them.
    std::vector<TLinia> &LineScratch() { return lineScratch_; }

    // Memory: the printout may hold MemoryBudget bytes in its model and pages together.
    // CheckReadBudget raises ETooLarge when the model, with `growth` bytes more, would pass it;
    // during a build, a page that passes it stops the build like a cancel and sets TooLarge.
    void CheckReadBudget(qint64 growth = 0) const;
    qint64 ModelBytes() const;
    qint64 MemoryBudget = DefaultMemoryBudget();

    // Laying out into pages: the page build's own state and the pages it made are in Pages().
    // GetCanvas gives the canvas recording the current page, made on first use.
    virtual TPageCanvas &GetCanvas() { return pages_.GetCanvas(); }
    void ClosePage(float &y) { pages_.ClosePage(y); }
    void RepeatHeaders(float &y) { pages_.RepeatHeaders(y); }
    void BuildPages() { pages_.Build(); }
    TPagination &Pages() { return pages_; }
    const TPagination &Pages() const { return pages_; }

    std::function<void(TLinie *Sender)> OnLineDone; // after each line of a block

    int TotalLines = 0;               // 0: not counted yet
    long double RulePenWidth = 0.15L; // mm, base pen width of horizontal rules
    bool OwnsPages = true;
    float LineSpacing = 0; // mm added below every drawn line
    qint32 Ignored1 = 0;   // read from the file, not used
    quint8 Ignored2 = 0;   // read from the file, not used
    quint8 Version = 0;
    int LinesPerPage = 84;
    float PositionScale = 0;  // 180 / Resolution
    qint32 Resolution = 1200; // the divisor of positions the body declared

private:
    void ReadGlobals(TInflateStream &stream);

    TTextStore texts_;
    TStyleNameTable styleNames_;
    TRunPool<TPole> fields_;
    TRunPool<TLinia> lines_;
    TRunPool<TMLine> records_;
    TRunPool<TMLine *> itemRuns_;
    std::vector<TMLine *> itemStack_;
    // Few fields are pictures, so a field does not keep a slot for one.
    std::unordered_map<const TPole *, std::unique_ptr<TMetafileImage>> pictures_;
    std::vector<TLinia> lineScratch_;
    std::unique_ptr<TStyle> styles_;
    std::unique_ptr<TMLine> root_;
    qint64 pictureBytes_ = 0;
    TPagination pages_{*this}; // last: made after, and gone before, what it lays out
};
