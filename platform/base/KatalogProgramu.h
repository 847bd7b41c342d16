#pragma once
// The folder of the running program file, which is also the printout library: a stored printout
// is always KatalogProgramu() + name + extension. Set once at start-up, before anything reads it.
#include <QString>

// The folder with a final "/". Before UstawKatalogProgramu it is the folder of this process's
// executable as the system reports it.
const QString &KatalogProgramu();

// Fixes the folder for the rest of the run; a final "/" is added when missing.
void UstawKatalogProgramu(const QString &folder);

// The folder of this process's executable (/proc/self/exe), with a final "/"; argv0's folder when
// the system does not say; the current folder when neither is known.
QString FolderPlikuProgramu(const char *argv0 = nullptr);
