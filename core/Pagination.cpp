#include "core/Pagination.h"

#include "core/DeviceUnits.h"
#include "core/LineDrawing.h"
#include "core/MLineWydruk.h"
#include "core/PageCanvas.h"
#include "platform/metafile/PageGeometry.h"

#include <QScopeGuard>

#include <algorithm>
#include <climits>

using namespace platform;

namespace {

float LineHeightMm(TLinia &line)
{
    return DeviceUnits().DevToMmY(LineHeight(line), line.Owner()->GetCanvas().DpiY());
}

bool Aborted(const TMLine &record)
{
    return record.Owner()->Pages().Abort;
}

// Draws one line of a block (unless it is dropped at the top of a page), counts it and reports
// it. Answers false when the build is to stop.
bool ProcessLine(TLinie &block, TLinia &line, float &y, bool atTop)
{
    TMLineWydruk &model = *block.Owner();
    TPagination &pages = model.Pages();
    if (!((atTop || pages.RepeatingHeaders) && IsSkippable(line))) {
        DrawLine(line, y);
        pages.LineDrawn = true;
    }
    const TRecordState state = block.Record()->State;
    if (state == TRecordState::Title || state == TRecordState::Summary || state == TRecordState::Items)
        ++pages.ProgressCounter;
    if (model.OnLineDone)
        model.OnLineDone(&block);
    // A page of many lines may pass the budget before it closes.
    if (pages.ProgressCounter % 256 == 0 &&
        model.ModelBytes() + pages.PageBytes() + pages.CurrentPageBytes() > model.MemoryBudget) {
        pages.TooLarge = true;
        pages.Abort = true;
    }
    return !pages.Abort;
}

void NewPage(TPagination &pages, float &y)
{
    pages.ClosePage(y);
    pages.RepeatHeaders(y);
}

void RepeatHeader(TMLine &record, float &y)
{
    if (record.State != TRecordState::Items)
        return;
    record.State = TRecordState::ColumnHeader;
    const auto restore = qScopeGuard([&record] { record.State = TRecordState::Items; });
    DrawBlock(record.ColumnHeader, y);
    // Items are drawn in order: those before the one in progress are finished, and past the first
    // one not started, none has started.
    const auto items = record.Items();
    for (TMLine *item : items.subspan(std::min<size_t>(record.ItemInProgress, items.size()))) {
        if (item->State == TRecordState::NotStarted)
            break;
        RepeatHeader(*item, y);
    }
}

void ResetStates(TMLine &record)
{
    record.State = TRecordState::NotStarted;
    record.ItemInProgress = 0;
    for (auto &item : record.Items())
        ResetStates(*item);
}

} // namespace

bool IsSkippable(const TLinia &line)
{
    if (line.SkipAtTop)
        return true;
    return line.Count() == 1 && line[0].Kind() == TFieldKind::Rule &&
           line.Block()->Record()->State != TRecordState::ColumnHeader;
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
    TPagination &pages = block.Owner()->Pages();
    if (block.BreakBefore())
        NewPage(pages, y);
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
                NewPage(pages, y);
                atTop = true;
            }
            if (!ProcessLine(block, block[i], y, atTop))
                return;
        }
        return;
    }
    bool atTop = false;
    if (!BlockFits(block, y)) {
        NewPage(pages, y);
        atTop = true;
    }
    for (int i = 0; i < count; ++i) {
        if (!ProcessLine(block, block[i], y, atTop && i == 0))
            return;
    }
}

void DrawRecord(TMLine &record, float &y)
{
    TPagination &pages = record.Owner()->Pages();
    record.State = TRecordState::Title;
    DrawBlock(record.Title, y);
    if (Aborted(record))
        return;

    record.State = TRecordState::ColumnHeader;
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
                pages.ClosePage(y);
                if (Aborted(record))
                    return;
                record.State = TRecordState::Items;
                pages.RepeatHeaders(y);
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

    record.State = TRecordState::Items;
    const auto items = record.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        TMLine &item = *items[i];
        record.ItemInProgress = static_cast<quint32>(i);
        if (item.BreakBefore && !(i == 0 && moved)) {
            pages.ClosePage(y);
            if (Aborted(record))
                return;
            pages.RepeatHeaders(y);
            if (Aborted(record))
                return;
        }
        DrawRecord(item, y);
        if (Aborted(record))
            return;
    }

    record.State = TRecordState::Summary;
    DrawBlock(record.Summary, y);
    record.State = TRecordState::Finished;
}

TPagination::TPagination(TMLineWydruk &model) : model_(model) {}

TPagination::~TPagination() = default;

TPageCanvas &TPagination::NewCanvas()
{
    canvas_ = std::make_unique<TPageCanvas>(currentPage_);
    return *canvas_;
}

void TPagination::ResetCurrentPage()
{
    currentPage_.Clear();
    currentPage_.SetSize(QSize(PageWidthForDpi(kReferenceDpi), PageHeightForDpi(kReferenceDpi)));
}

void TPagination::Clear()
{
    FreePages();
    canvas_.reset();
    ResetCurrentPage();
    ProgressCounter = 0;
}

void TPagination::FreePages()
{
    if (!model_.OwnsPages) {
        // Whoever took the pages frees them.
        for (auto &page : FinishedPages)
            (void)page.release();
    }
    FinishedPages.clear();
    pageBytes_ = 0;
    chargedImages_.clear();
    sharedPictures_.Clear();
}

qint64 TPagination::CurrentPageBytes() const
{
    QSet<qint64> counted = chargedImages_;
    return currentPage_.MemoryBytes(&counted);
}

void TPagination::ClosePage(float &y)
{
    if (y == 0)
        return; // an empty page is never emitted
    EmitPage();
    y = 0;
}

void TPagination::EmitPage()
{
    canvas_.reset();
    FinishedPages.push_back(std::make_unique<PageMetafile>(currentPage_));
    ChargePage(*FinishedPages.back());
    if (OnPageDone)
        OnPageDone(&model_, FinishedPages.back().get());
    const qsizetype lastBytes = currentPage_.StreamBytes();
    ResetCurrentPage();
    // The next page is most likely much like this one.
    currentPage_.Reserve(lastBytes + lastBytes / 8);
}

void TPagination::ChargePage(const PageMetafile &page)
{
    pageBytes_ += page.MemoryBytes(&chargedImages_);
    if (model_.ModelBytes() + pageBytes_ > model_.MemoryBudget) {
        // Stopped like a cancelled build: the pages so far stay, the caller tells why.
        TooLarge = true;
        Abort = true;
    }
}

void TPagination::RepeatHeaders(float &y)
{
    RepeatingHeaders = true;
    const auto clear = qScopeGuard([this] { RepeatingHeaders = false; });
    RepeatHeader(model_.Root(), y);
}

void TPagination::Build()
{
    RepeatingHeaders = false;
    FreePages();
    TooLarge = false;
    Building = true;
    const auto done = qScopeGuard([this] {
        Building = false;
        sharedPictures_.Clear(); // the pages keep what they share
    });
    if (Abort)
        return;
    TMLine &root = model_.Root();
    ResetStates(root);
    float y = 0;
    ProgressCounter = 0;
    LineDrawn = false;
    model_.TotalLines = 0;
    model_.TotalLineCount();
    model_.Styles().SetChanged();
    DrawRecord(root, y);
    ClosePage(y);
    // Lines that take no height (a picture whose frame is turned over) leave y at 0: a printout
    // with lines still has its first page.
    if (FinishedPages.empty() && LineDrawn)
        EmitPage();
    model_.Styles().ClearChanged();
}
