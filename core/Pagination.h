#pragma once
// Pagination: drawing blocks and records line by line onto pages, breaking pages before blocks
// and lines that do not fit and repeating the column headers of the records still open.
// TPagination holds what one page build of a model needs and makes: the canvas and the page
// being recorded, the finished pages, progress and the abort flag. The model owns one and runs
// it from its root record (TMLineWydruk::BuildPages).
#include "core/MLine.h"
#include "platform/metafile/PageMetafile.h"
#include "platform/metafile/SharedDrawings.h"

#include <QSet>

#include <functional>
#include <memory>
#include <vector>

class TPageCanvas;

// Page height in millimetres that lines are laid out into.
inline constexpr float kUsablePageHeight = 294;
// Lines shorter than this count as short: the last two short lines of a block stay together.
inline constexpr float kShortLine = 20;

class TPagination {
public:
    explicit TPagination(TMLineWydruk &model);
    ~TPagination();
    TPagination(const TPagination &) = delete;
    TPagination &operator=(const TPagination &) = delete;

    // The canvas recording the current page, made on first use; measuring goes through it too,
    // once for every field drawn.
    TPageCanvas &GetCanvas() { return canvas_ ? *canvas_ : NewCanvas(); }
    const platform::PageMetafile &CurrentPage() const { return currentPage_; }
    // Ends the current page unless nothing was drawn on it (y is 0), and starts the next at y 0.
    void ClosePage(float &y);
    // Draws the column headers of every record whose items are being drawn, outermost first.
    void RepeatHeaders(float &y);
    // Lays the whole model out into FinishedPages, from its root record.
    void Build();
    // Frees the pages (if the model owns them), the canvas and the page being recorded.
    void Clear();
    // Bytes the finished pages hold, images they share counted once.
    qint64 PageBytes() const { return pageBytes_; }
    // Bytes the page being recorded adds to them.
    qint64 CurrentPageBytes() const;
    // Pictures the pages of this build repeat, recorded once (keyed by the model's pictures).
    platform::SharedDrawings &SharedPictures() { return sharedPictures_; }

    std::vector<std::unique_ptr<platform::PageMetafile>> FinishedPages;
    std::function<void(TMLineWydruk *Sender, platform::PageMetafile *Page)> OnPageDone;

    int ProgressCounter = 0; // lines processed in the current page build
    bool Building = false;
    bool Abort = false;
    bool RepeatingHeaders = false;
    bool LineDrawn = false; // a line was drawn in the current page build
    // Set when a page passed the model's memory budget and stopped the build.
    bool TooLarge = false;

private:
    TPageCanvas &NewCanvas();
    void FreePages();
    void ResetCurrentPage();
    // Appends the current page to FinishedPages and announces it.
    void EmitPage();
    void ChargePage(const platform::PageMetafile &page);

    TMLineWydruk &model_;
    platform::PageMetafile currentPage_;
    std::unique_ptr<TPageCanvas> canvas_; // after the page: it paints on it
    qint64 pageBytes_ = 0;
    QSet<qint64> chargedImages_; // images and recordings pages share are counted once
    platform::SharedDrawings sharedPictures_;
};

// A line dropped where it would open a page and in repeated headers: SkipAtTop set, or a lone
// horizontal rule outside a column header being drawn.
bool IsSkippable(const TLinia &line);
// Whether all the block's lines fit between y and the bottom of the page.
bool BlockFits(TLinie &block, float y);
// Draws the block at y, breaking pages as its rules say; stops after a line when the build's
// abort flag is set.
void DrawBlock(TLinie &block, float &y);
// Draws the record, its column header, its items and its summary, keeping its State.
void DrawRecord(TMLine &record, float &y);
