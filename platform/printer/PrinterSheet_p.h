#pragma once
// A printer's paper, hardware margins and resolution, and the device capabilities they give.
#include "platform/printer/PrinterTypes.h"

#include <QMarginsF>
#include <QSizeF>

namespace platform {

struct TSheet {
    QSizeF PaperMm{210, 297}; // portrait
    QMarginsF MarginsMm;      // where the printer cannot print
    int DpiX = 600;
    int DpiY = 600;
};

// The paper as a job in orientation lays it: landscape swaps width and height.
QSizeF OrientedPaperMm(const TSheet &sheet, TOrientation orientation);
TDeviceCaps SheetCaps(const TSheet &sheet, TOrientation orientation);
// The paper a PWG media name ("iso_a4_210x297mm") or a legacy one ("A4") stands for; empty when
// the name is unknown.
QSizeF MediaSizeMm(const QString &media);
// The PWG name of a media name in any of those forms; the name itself when it is unknown.
QString PwgMediaName(const QString &media);

} // namespace platform
