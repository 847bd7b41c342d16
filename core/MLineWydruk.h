#pragma once
// The document model of one printout: its global values, text styles and the tree of records
// whose leaves are lines of fields, plus the state of laying it out into pages. It owns
// everything below it; the classes below hold plain references back to it.
#include "core/FieldPool.h"
#include "core/MLine.h"
#include "core/MetafileImage.h"
#include "core/StyleNames.h"
#include "core/Styl.h"
#include "core/TextStore.h"
#include "platform/PageMetafile.h"

#include <functional>
#include <memory>
#include <vector>

class TPageCanvas;

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
    TFieldPool &Fields() { return fields_; }
    // Takes a field's picture; the answer is the field's 1-based handle to it.
    quint32 AdoptPicture(std::unique_ptr<TMetafileImage> picture);
    const TMetafileImage *PictureAt(quint32 handle) const
    {
        return handle == 0 || handle > pictures_.size() ? nullptr : pictures_[handle - 1].get();
    }
    int PictureCount() const { return static_cast<int>(pictures_.size()); }
    // Where a block gathers its lines while reading them.
    std::vector<TLinia> &LineScratch() { return lineScratch_; }

    // Laying out into pages. GetCanvas gives the canvas recording the current page, made on
    // first use; ClosePage, RepeatHeaders and BuildPages are the page build.
    virtual TPageCanvas &GetCanvas();
    void ClosePage(float &y);
    void RepeatHeaders(float &y);
    void BuildPages();
    const platform::PageMetafile &CurrentPage() const { return currentPage_; }

    std::vector<std::unique_ptr<platform::PageMetafile>> FinishedPages;
    std::function<void(TLinie *Sender)> OnLineDone;     // after each line of a block
    std::function<void(TMLineWydruk *Sender, platform::PageMetafile *Page)> OnPageDone;

    int ProgressCounter = 0;               // lines processed in the current page build
    int TotalLines = 0;                    // 0: not counted yet
    long double RulePenWidth = 0.15L;      // mm, base pen width of horizontal rules
    bool OwnsPages = true;
    float LineSpacing = 0;                 // mm added below every drawn line
    qint32 Ignored1 = 0;                   // read from the file, not used
    quint8 Ignored2 = 0;                   // read from the file, not used
    bool Building = false;
    bool Abort = false;
    quint8 Version = 0;
    int LinesPerPage = 84;
    float PositionScale = 0;               // 180 / Resolution
    bool RepeatingHeaders = false;
    qint32 Resolution = 1200;              // the divisor of positions the body declared

private:
    void ReadGlobals(TInflateStream &stream);
    void FreePages();
    void ResetCurrentPage();

    TTextStore texts_;
    TStyleNameTable styleNames_;
    TFieldPool fields_;
    std::vector<std::unique_ptr<TMetafileImage>> pictures_;
    std::vector<TLinia> lineScratch_;
    std::unique_ptr<TStyle> styles_;
    std::unique_ptr<TMLine> root_;
    platform::PageMetafile currentPage_;
    std::unique_ptr<TPageCanvas> canvas_; // after the page: it paints on it
};
