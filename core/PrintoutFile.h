#pragma once
// Reading a whole printout file (header and body) into a model: what the loader and the
// command line share.
#include "core/MLineWydruk.h"

#include <QIODevice>
#include <QString>

#include <functional>

inline const QString kNotAPrintout = QStringLiteral("Plik nie zawiera prawidłowego wydruku Wenora");

// A file that cannot be opened ("Cannot open file " and its name).
class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const QString &path) : EStreamError(QStringLiteral("Cannot open file ") + path) {}
};

// Checks the header of the open file (EStreamError kNotAPrintout when it is not a printout),
// calls headerPassed, when given, and reads the body that follows the header into the model.
void ReadPrintout(QIODevice &file, TMLineWydruk &model, const std::function<void()> &headerPassed = {});
