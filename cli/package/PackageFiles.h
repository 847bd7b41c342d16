#pragma once
// What the package build makes from the program's own tables, so that the packaged files say what
// the programs do: the manual pages and the shell completion from the usage tables, the desktop
// files from the install's list.
#include "cli/Usage.h"

// The manual page in man(7) markup, section 1.
QString ManPage(const TUsage &usage, const QString &version);
// A bash completion script: commands, each command's options, the values of options that list
// them, CUPS queues for a KOLEJKA, folders for a KATALOG, printouts for a PLIK or WEJŚCIE.
QString BashCompletion(const TUsage &usage);
