#include "core/Wydruki.h"

#include "core/PrintoutFile.h"
#include "platform/base/NativePath.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

TWydruk::TWydruk() : tekst_(std::make_unique<TMLineWydruk>())
{
    tekst_->OnLineDone = [this](TLinie *) { ProgressRelay(); };
    tekst_->Pages().OnPageDone = [this](TMLineWydruk *, platform::PageMetafile *page) { PageRelay(page); };
}

TWydruk::~TWydruk() = default;

void TWydruk::LoadFromFile(const QString &path)
{
    LoadFromFile(platform::NativePath(path));
}

void TWydruk::LoadFromFile(const std::filesystem::path &nativePath)
{
    const QString path = platform::DisplayPath(nativePath);
    // Read access only: a read-only printout, or one another program has open, still opens.
    QFile file;
    if (!platform::OpenForReading(file, nativePath))
        throw EFOpenError(path, nativePath);
    try {
        ReadPrintoutFile(file, path, *tekst_, [&] {
            tytul_ = path;
            wczytanyPlikNazwa_ = QFileInfo(path).completeBaseName();
            wczytanyPlikSciezka_ = path;
            pagesBuilt_ = false; // the pages of an earlier file are gone with its model
        });
    } catch (const std::bad_alloc &) {
        tekst_->Clear();
        throw ETooLarge();
    } catch (const ETooLarge &) {
        tekst_->Clear(); // nothing of it could be shown: give the memory back at once
        throw;
    }
}

void TWydruk::BuildPages()
{
    state_ = TState::Building;
    const auto idle = qScopeGuard([this] { state_ = TState::Idle; });
    if (pagesBuilt_ && !tekst_->Styles().AnyChanged()) {
        for (auto &page : tekst_->Pages().FinishedPages)
            PageRelay(page.get());
        return;
    }
    abortRequested_ = false;
    tooLarge_ = false;
    tekst_->Pages().Abort = false;
    pagesBuilt_ = false;
    try {
        tekst_->BuildPages();
    } catch (const std::bad_alloc &) {
        throw ETooLarge();
    }
    if (tooLarge_ || tekst_->Pages().TooLarge)
        throw ETooLarge();
    pagesBuilt_ = !abortRequested_;
}

void TWydruk::StopTooLarge()
{
    tooLarge_ = true;
    CancelBuild();
}

void TWydruk::CancelBuild()
{
    abortRequested_ = true;
    tekst_->Pages().Abort = true;
}

void TWydruk::Clear()
{
    state_ = TState::Cleared;
    pagesBuilt_ = false;
    abortRequested_ = false;
    try {
        tekst_->Clear();
    } catch (...) {
        // Clearing never fails the caller; what could not be freed goes with the model.
    }
    AfterClear();
}

void TWydruk::AfterClear() {}

void TWydruk::ProgressRelay()
{
    if (!OnProgress)
        return;
    const int total = tekst_->TotalLines;
    const int postep =
        total > 0 ? static_cast<int>(static_cast<qint64>(tekst_->Pages().ProgressCounter) * 100 / total) : 0;
    OnProgress(this, state_ == TState::Building, postep);
}

void TWydruk::PageRelay(platform::PageMetafile *page)
{
    if (viewer_)
        viewer_->AddPage(page);
    if (OnNextPage)
        OnNextPage(this, page);
}
