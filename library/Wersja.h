#pragma once
// The program's version text, as the library window's caption shows it.
#include <QString>

// A file version such as "2.2.0.0" cut to its first five characters.
QString WersjaZTekstu(const QString &fileVersion);
// The program's own version text, from the version the program was built with.
QString WersjaProgramu();
