#pragma once
// The library window's start-up state, which the program entry decides once from the command line.
#include <QString>

struct TStanStartowy {
    bool TrybTemp = false;     // first argument exactly "TEMP"
    QString PlikDoSkopiowania; // a file the first list refresh copies into the library
    QString PlikDoPodgladu;    // a file opened straight in the preview; the list stays unfilled
    bool operator==(const TStanStartowy &) const = default;
};
