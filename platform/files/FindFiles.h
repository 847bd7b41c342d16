#pragma once
// TFindFiles lists the entries of a folder (and, on request, of all its subfolders, breadth-first),
// filtered by file masks and attributes, handing each entry to OnAddFile, which may refuse it or
// stop the search. The library window and the file chooser list their folders with it.
#include "platform/base/Exception.h"
#include "platform/files/FileList.h"

#include <QString>
#include <functional>

// How an attribute takes part in the search: ignored, required, or held back where the system
// holds it back (hidden, system and folder entries; read-only and archive ones are never held back).
enum class TFindMode { fmDontCare, fmYes, fmNo };

// A search that cannot start: a missing property or a folder that cannot be entered.
class EFindFilesError : public Exception {
public:
    using Exception::Exception;
};

// Progress of a recursive search in percent, the folder about to be read; Stop ends the search.
using TFFProgress = std::function<void(int Progress, const QString &DirName, bool &Stop)>;
// One entry found; Accept false drops it, Stop true ends the search after it.
using TFFAddFile = std::function<void(const TFileObj &NewFile, bool &Accept, bool &Stop)>;

class TFindFiles {
public:
    QString Directory;
    // The folder's real name (bytes), when Directory, being text, cannot give it back (a name that
    // is not UTF-8); Directory is then not read.
    QByteArray NativeDirectory;
    bool Recurse = false;
    QString Mask = QStringLiteral("*.*"); // one or more masks separated by ";"
    TFindMode aReadOnly = TFindMode::fmNo;
    TFindMode aArchive = TFindMode::fmDontCare;
    TFindMode aSystem = TFindMode::fmNo;
    TFindMode aHidden = TFindMode::fmNo;
    TFindMode aDirectory = TFindMode::fmNo;
    TFFProgress OnProgress;
    TFFAddFile OnAddFile;

    // The last search's result, emptied when a search starts.
    TFileList Files;

    // Runs the search into Files: true when it went through, false when a handler asked to stop
    // (the entries accepted until then stay in Files). Raises EFindFilesError for a missing
    // Directory or Mask or a root that cannot be entered. The process's current folder is never
    // changed.
    bool Execute();
};
