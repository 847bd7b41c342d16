#include "core/Pagination.h"

#include "core/DeviceUnits.h"
#include "core/LineDrawing.h"
#include "core/MLineWydruk.h"
#include "core/PageCanvas.h"
#include "platform/metafile/PageGeometry.h"

#include <climits>

using namespace platform;

namespace {

float LineHeightMm(TLinia &line)
{
    return DeviceUnits().DevToMmY(LineHeight(line), line.Owner()->GetCanvas().DpiY());
}

bool Aborted(const TMLine &record)
{
    return record.Owner()->Abort;
}

// Draws one line of a block (unless it is dropped at the top of a page), counts it and reports
// it. Answers false when the build is to stop.
bool ProcessLine(TLinie &block, TLinia &line, float &y, bool atTop)
{
    TMLineWydruk &model = *block.Owner();
    if (!((atTop || model.RepeatingHeaders) && IsSkippable(line)))
        DrawLine(line, y);
    const quint8 state = block.Record()->State;
    if (state == 2 || state == 3 || state == 4)
        ++model.ProgressCounter;
    if (model.OnLineDone)
        model.OnLineDone(&block);
    // A page of many lines may pass the budget before it closes.
    if (model.ProgressCounter % 256 == 0 && model.ModelBytes() + model.PageBytes() +
                                                    model.CurrentPage().MemoryBytes() > model.MemoryBudget) {
        model.TooLarge = true;
        model.Abort = true;
    }
    return !model.Abort;
}

void NewPage(TMLineWydruk &model, float &y)
{
    model.ClosePage(y);
    model.RepeatHeaders(y);
}

void RepeatHeader(TMLine &record, float &y)
{
    if (record.State != 4)
        return;
    record.State = 5;
    struct Restore {
        TMLine &record;
        ~Restore() { record.State = 4; }
    } restore{record};
    DrawBlock(record.ColumnHeader, y);
    for (auto &item : record.Items()) {
        // Items are drawn in order: past the first one not started, none has started.
        if (item->State == 0)
            break;
        RepeatHeader(*item, y);
    }
}

void ResetStates(TMLine &record)
{
    record.State = 0;
    for (auto &item : record.Items())
        ResetStates(*item);
}

} // namespace

bool IsSkippable(const TLinia &line)
{
    if (line.SkipAtTop)
        return true;
    return line.Count() == 1 && line[0].Kind() == 4 && line.Block()->Record()->State != 5;
}

bool BlockFits(TLinie &block, float y)
{
    qint64 sum = 0;
    for (TLinia &line : block)
        sum += LineHeight(line);
    const int dpiY = block.Owner()->GetCanvas().DpiY();
    const float mm = sum < INT_MAX ? DeviceUnits().DevToMmY(int(sum), dpiY) : DevToMmY(sum, dpiY);
    return static_cast<long double>(mm) + y <= kUsablePageHeight;
}

void DrawBlock(TLinie &block, float &y)
{
    TMLineWydruk &model = *block.Owner();
    if (block.BreakBefore())
        NewPage(model, y);
    const int count = block.Count();
    if (block.Splittable()) {
        for (int i = 0; i < count; ++i) {
            float h = LineHeightMm(block[i]);
            if (h < kShortLine && count > 1 && i == count - 2) {
                const float h2 = LineHeightMm(block[count - 1]);
                if (h2 < kShortLine)
                    h = h + h2;
            }
            bool atTop = false;
            if (static_cast<long double>(y) + h > kUsablePageHeight) {
                NewPage(model, y);
                atTop = true;
            }
            if (!ProcessLine(block, block[i], y, atTop))
                return;
        }
        return;
    }
    bool atTop = false;
    if (!BlockFits(block, y)) {
        NewPage(model, y);
        atTop = true;
    }
    for (int i = 0; i < count; ++i) {
        if (!ProcessLine(block, block[i], y, atTop && i == 0))
            return;
    }
}

void DrawRecord(TMLine &record, float &y)
{
    TMLineWydruk &model = *record.Owner();
    record.State = 2;
    DrawBlock(record.Title, y);
    if (Aborted(record))
        return;

    record.State = 5;
    bool moved = false;
    if (record.ColumnHeader.Count() > 0 && !record.Items().empty()) {
        TMLine &first = *record.Items().front();
        TLinia *lead = first.Title.Count() > 0     ? &first.Title[0]
                       : first.Summary.Count() > 0 ? &first.Summary[0]
                                                   : nullptr;
        if (lead) {
            const float below = static_cast<float>(static_cast<long double>(y) + LineHeightMm(*lead));
            if (!BlockFits(record.ColumnHeader, below)) {
                // The header would stand alone at the bottom: it opens the next page instead.
                moved = true;
                model.ClosePage(y);
                if (Aborted(record))
                    return;
                record.State = 4;
                model.RepeatHeaders(y);
                if (Aborted(record))
                    return;
            }
        }
    }
    if (!moved) {
        DrawBlock(record.ColumnHeader, y);
        if (Aborted(record))
            return;
    }

    record.State = 4;
    const auto items = record.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        TMLine &item = *items[i];
        if (item.BreakBefore && !(i == 0 && moved)) {
            model.ClosePage(y);
            if (Aborted(record))
                return;
            model.RepeatHeaders(y);
            if (Aborted(record))
                return;
        }
        DrawRecord(item, y);
        if (Aborted(record))
            return;
    }

    record.State = 3;
    DrawBlock(record.Summary, y);
    record.State = 1;
}

TPageCanvas &TMLineWydruk::GetCanvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TPageCanvas>(currentPage_);
    return *canvas_;
}

void TMLineWydruk::ResetCurrentPage()
{
    currentPage_.Clear();
    currentPage_.SetSize(QSize(PageWidthForDpi(kReferenceDpi), PageHeightForDpi(kReferenceDpi)));
}

void TMLineWydruk::FreePages()
{
    if (!OwnsPages) {
        // Whoever took the pages frees them.
        for (auto &page : FinishedPages)
            (void)page.release();
    }
    FinishedPages.clear();
    pageBytes_ = 0;
    chargedImages_.clear();
}

void TMLineWydruk::ClosePage(float &y)
{
    if (y == 0)
        return; // an empty page is never emitted
    canvas_.reset();
    FinishedPages.push_back(std::make_unique<PageMetafile>(currentPage_));
    ChargePage(*FinishedPages.back());
    if (OnPageDone)
        OnPageDone(this, FinishedPages.back().get());
    ResetCurrentPage();
    y = 0;
}

void TMLineWydruk::ChargePage(const PageMetafile &page)
{
    pageBytes_ += page.MemoryBytes(&chargedImages_);
    if (ModelBytes() + pageBytes_ > MemoryBudget) {
        // Stopped like a cancelled build: the pages so far stay, the caller tells why.
        TooLarge = true;
        Abort = true;
    }
}

void TMLineWydruk::RepeatHeaders(float &y)
{
    RepeatingHeaders = true;
    struct Clear {
        bool &flag;
        ~Clear() { flag = false; }
    } clear{RepeatingHeaders};
    RepeatHeader(*root_, y);
}

void TMLineWydruk::BuildPages()
{
    RepeatingHeaders = false;
    FreePages();
    TooLarge = false;
    Building = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{Building};
    if (Abort)
        return;
    ResetStates(*root_);
    float y = 0;
    ProgressCounter = 0;
    TotalLines = 0;
    TotalLineCount();
    styles_->SetChanged();
    DrawRecord(*root_, y);
    ClosePage(y);
    styles_->ClearChanged();
}
