#pragma once
// TWydruk, the printout loader: opens a printout file into its document model, lays the model
// out into page pictures and hands every finished page on, reporting progress on the way.
#include "core/MLineWydruk.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

namespace platform {
class PageMetafile;
}

class TWydruk;

// What the loader needs of a page viewer: each finished page handed over as it is, not copied.
// The page viewer control implements it, so the core stays free of widgets.
class TPageViewer {
public:
    virtual ~TPageViewer() = default;
    virtual int AddPage(platform::PageMetafile *page) = 0;
};

// Progress of a page build: drukowanie is true while pages are being built, postep the
// percentage done (0 to 100).
using TWydrukProgress = std::function<void(TWydruk *Sender, bool drukowanie, int postep)>;
// One finished page. The page belongs to the loader's model and lives as long as the loader; a
// receiver that keeps it copies it (copies are cheap).
using TWydrukNextPage = std::function<void(TWydruk *Sender, platform::PageMetafile *Page)>;

class TWydruk {
public:
    TWydruk();
    virtual ~TWydruk();
    TWydruk(const TWydruk &) = delete;
    TWydruk &operator=(const TWydruk &) = delete;

    // Opens the file for reading only, checks its header and reads the body into the model.
    // Raises EFOpenError when the file cannot be opened, ENieczytelnyWydruk naming the file and
    // the cause when it is not a printout or its body is broken, and ETooLarge (the model emptied) for a printout
    // past the memory budget or when memory runs out. The names below describe the file as soon as
    // the header passed, even when the body then fails.
    void LoadFromFile(const QString &path);
    // The same by the file's real name (bytes), which a QString cannot always give.
    void LoadFromFile(const std::filesystem::path &path);
    // Lays the model out and delivers every page through OnNextPage, in order, before it
    // returns. After a complete build the same pages are delivered again without rebuilding.
    // Pages past the memory budget, or memory running out, end the build as CancelBuild does
    // and then raise ETooLarge; the pages delivered so far stay valid.
    void BuildPages();
    // Ends a running build after the current line; meant for an OnProgress handler. Pages
    // finished so far have been delivered, the partly drawn page is delivered too.
    void CancelBuild();
    // Ends the build as CancelBuild does, and BuildPages then raises ETooLarge: for a receiver
    // that has no memory left to keep the pages.
    void StopTooLarge();
    // Empties the model and forgets the build.
    virtual void Clear();
    // Called at the end of Clear(); does nothing here.
    virtual void AfterClear();

    TWydrukProgress OnProgress;
    TWydrukNextPage OnNextPage;

    // An optional viewer (not owned) that receives every page before OnNextPage does. Its pages
    // die with the loader, like all pages it hands out.
    TPageViewer *Viewer() const { return viewer_; }
    void SetViewer(TPageViewer *viewer) { viewer_ = viewer; }

    const QString &Tytul() const { return tytul_; }
    const QString &WczytanyPlikNazwa() const { return wczytanyPlikNazwa_; }
    const QString &WczytanyPlikSciezka() const { return wczytanyPlikSciezka_; }
    TMLineWydruk &Tekst() { return *tekst_; }
    const TMLineWydruk &Tekst() const { return *tekst_; }

private:
    enum class TState { Idle = 0, Cleared = 1, Building = 2 };

    void ProgressRelay();
    void PageRelay(platform::PageMetafile *page);

    TPageViewer *viewer_ = nullptr;
    TState state_ = TState::Idle;
    QString tytul_;
    QString wczytanyPlikNazwa_ = QStringLiteral("WYDRUK");
    QString wczytanyPlikSciezka_;
    std::unique_ptr<TMLineWydruk> tekst_;
    bool abortRequested_ = false;
    bool tooLarge_ = false;
    bool pagesBuilt_ = false;
};
