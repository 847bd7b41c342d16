#pragma once
// Adding printouts and packages to the library folder, without windows: the questions and
// messages go through a TRozmowaDodawania. Files are named by their bytes; katalog is the
// library folder (KatalogProgramu in the program).
#include "adding/RekordyPaczki.h"
#include "adding/RozmowaDodawania.h"
#include "platform/base/Exception.h"
#include "platform/files/NowyPlik.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <vector>

// A file that is not a package, or a package without its size.
class EPaczkaError : public Exception {
public:
    using Exception::Exception;
};

inline const QString kOpisPaczki = QStringLiteral("Przeglądarka Wenora 2001");

// Whether plik is the file katalog/<its name> itself (the same file, not the same text).
bool WBibliotece(const std::filesystem::path &plik, const std::filesystem::path &katalog);

// Copies one printout into katalog under its own file name, or in place of a printout whose name
// differs from it only in case; true when it is (now) there. Not a
// printout, a refused overwrite and a failed copy are told through rozmowa and answer false; a
// file that cannot be opened (EFOpenError) or is shorter than a header (ENieczytelnyWydruk) raises.
bool DokopiujWydruk(const std::filesystem::path &plik, const std::filesystem::path &katalog,
                    TRozmowaDodawania &rozmowa);

// The offset of the package's printout records. Raises EFileVerInfoError, EConvertError for a
// "Rozmiar" that is not a number, EPaczkaError for another program, a package without a size or
// one whose records would begin at or past its end.
qint32 SprawdzPaczke(const std::filesystem::path &plik);

// What happened to one record: written into the folder, or left out because the user kept the
// file already there or its name was refused. Plik is the file it went to or would have replaced
// (an existing printout whose name differs only in case included), empty for a refused name.
// Sha256 is the hash of the record's data.
struct TWynikRekordu {
    TRekordPaczki Rekord;
    std::filesystem::path Plik;
    QByteArray Sha256;
    bool NazwaDozwolona = true;
    bool Zapisany = false;
};

// Writes the package's records into katalog as "<name>.WYD" with the record's time; an existing
// printout of the same name in another case is asked about and replaced under its own name. A
// record whose name may not be a file name there is told through rozmowa (standard error box,
// naming the package and the record) and skipped. Raises EStreamError naming the package and the
// record for a record cut short or with a negative length, EZapisError naming the folder or the
// file and the cause when the folder cannot take the file; the records before stay, no part of the
// failing one does.
void RozpakujPaczke(const std::filesystem::path &plik, qint64 offset, const std::filesystem::path &katalog,
                    TRozmowaDodawania &rozmowa, const std::function<void(const TWynikRekordu &)> &poRekordzie = {});

// The chooser's filter: opis stays empty; akceptuj is whether plik is a printout (".WYD") or a
// package whose records begin inside it (".EXE"), the extension in any case.
void ExplorerDodajPlik(const std::filesystem::path &plik, QString &opis, bool &akceptuj);

// Adds the chosen files in order: ".WYD" copied in, ".EXE" unpacked (a package's error is shown
// in the standard error box and the next file follows), others skipped. An error opening or
// reading a printout ends the add and reaches the caller.
void DodajPliki(const std::vector<std::filesystem::path> &pliki, const std::filesystem::path &katalog,
                TRozmowaDodawania &rozmowa);
