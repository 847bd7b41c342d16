#pragma once
// How much memory one printout may take: its model and its pages together. The longest real
// printouts measured (10,000 pages) take about half a gigabyte; a small file can describe far
// more than that (a hundred million empty lines, a picture inflating to gigabytes), and such a
// printout is refused with a message instead of taking the machine's memory.
#include "platform/base/Exception.h"

#include <QString>

inline const QString kPrintoutTooLarge = QStringLiteral("Wydruk jest zbyt duży, aby go wyświetlić.");

// The printout passed its memory budget or memory ran out while reading or laying it out.
class ETooLarge : public Exception {
public:
    ETooLarge() : Exception(kPrintoutTooLarge) {}
};

// The budget of one printout in bytes: kMaxPrintoutBytes, or half the machine's memory when
// that is less.
qint64 DefaultMemoryBudget();
inline constexpr qint64 kMaxPrintoutBytes = qint64{1} << 30;
