#pragma once
// A program folder that the system's package manager installed is the package's to change: there
// INST and UNINST only say so. The package names its folder in a file outside that folder, where the
// users who share the printouts in it cannot remove it.
#include "install/Instalacja.h"

// Where the Debian package names its program folder.
inline const QString kPlikPakietu = QStringLiteral("/usr/share/wenoglad/pakiet");

// Whether markerFile, a regular file of one folder a line, names folder (links resolved on both
// sides). A missing or unreadable marker names nothing.
bool KatalogZPakietu(const QString &folder, const QString &markerFile);

enum class TRunPakietu { Instalacja, Odinstalowanie };

// In the package's folder: shows why the run changes nothing and answers true. Elsewhere answers
// false and shows nothing.
bool OdmowaWPakiecie(const TInstallPaths &paths, const TInstallDialogs &dialogs, TRunPakietu run);
