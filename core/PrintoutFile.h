#pragma once
// Reading a whole printout file (header and body) into a model: what the loader and the
// command line share.
#include "core/MLineWydruk.h"

#include <QFileDevice>
#include <QIODevice>
#include <QString>

#include <filesystem>
#include <functional>

inline const QString kNotAPrintout = QStringLiteral("Plik nie zawiera prawidłowego wydruku Wenora");

// A file that cannot be opened: "Nie można otworzyć pliku" with its name and why, as the file is now
// (missing, a folder, not readable).
class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const QString &path);
    // The file by its bytes, shown as path.
    EFOpenError(const QString &path, const std::filesystem::path &native);
};

// A printout file that could not be read, told as the user reads it: the file named and the cause
// in Polish, the reader's own message kept where it says more.
class ENieczytelnyWydruk : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// The message of error, met while reading the printout path from file. fileEnded: the file ended
// inside the compressed body.
QString OpisBleduWydruku(const QString &path, const QFileDevice &file, const Exception &error, bool fileEnded = false);

// Checks the header of the open file (EStreamError kNotAPrintout when it is not a printout),
// calls headerPassed, when given, and reads the body that follows the header into the model.
void ReadPrintout(QIODevice &file, TMLineWydruk &model, const std::function<void()> &headerPassed = {});
// The same for the file of path, open for reading: its errors come out as ENieczytelnyWydruk
// (ETooLarge as it is).
void ReadPrintoutFile(QFileDevice &file, const QString &path, TMLineWydruk &model,
                      const std::function<void()> &headerPassed = {});
