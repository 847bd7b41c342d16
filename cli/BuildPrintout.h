#pragma once
// What the export commands share: loading and laying out a printout with progress on standard error,
// and printing errors.
#include "core/Wydruki.h"
#include "platform/metafile/PageMetafile.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadPrintout = 1;
inline constexpr int kExitCannotOpen = 2;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitPrintFailed = 3;

// Writes message and a line break to standard error; carriage returns of the program's messages
// become line breaks.
void PrintError(const QString &message);

// A loaded and laid-out printout; the pages belong to the loader.
struct BuiltPrintout {
    std::unique_ptr<TWydruk> loader = std::make_unique<TWydruk>();
    QList<platform::PageMetafile *> pages;
    // Called with each page as soon as it is laid out, for work on it while the pages after it are
    // laid out: the layout never looks at a finished page again, so the command may even clear it
    // once it is done with it.
    std::function<void(platform::PageMetafile &page)> onPage;
};

// Flushes standard output and answers kExitOk when everything written to it arrived, otherwise
// prints why and answers kExitCannotOpen (a full disk or a closed pipe is a failed command).
int FinishStandardOutput();

// Loads path and builds its pages, showing "Tworzenie stron... N%" on standard error for long
// printouts. With firstPages above 0 only that many pages are laid out, quietly. Returns kExitOk, or
// prints the error and returns the command's exit code.
int BuildPrintout(const QString &path, BuiltPrintout &out, int firstPages = 0);
// The same for commands that need a page to work on: a printout that lays out into none (one without
// lines) is refused with "Wydruk nie zawiera żadnej strony" and kExitBadPrintout.
int BuildPrintoutWithPages(const QString &path, BuiltPrintout &out, int firstPages = 0);
