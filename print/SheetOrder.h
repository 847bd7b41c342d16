#pragma once
// The order in which pages go onto sheet sides in each print mode: the padding to whole sheets, and
// the passes of one-sided, manual two-sided and booklet printing.
#include "print/PageSelection.h"
#include "print/PrintDlgSettings.h"

#include <QList>

// One sheet side: Left alone on a whole side when Right is 0, else Left and Right on its halves.
// Both are positions into the padded selection, from 1.
struct TSheetSide {
    int Left = 0;
    int Right = 0;
    bool operator==(const TSheetSide &) const = default;
};
using TPass = QList<TSheetSide>;

// Positions a print in mode takes at a time: the selection is padded with blanks to a multiple.
int PaddingStep(TPrintMode mode, bool twoSided);
// Appends blank pages (0) until the selection fills whole sheets.
void PadSelection(PageSelection &selection, TPrintMode mode, bool twoSided);

// The passes for n padded positions: one pass, or two (the sheets are turned between them) when
// two-sided or a booklet. reverse sends the pages for printers that stack sheets face up.
QList<TPass> PrintPasses(TPrintMode mode, bool twoSided, bool reverse, int n);

// The sides in the order a printer that prints both sides needs them, front then back of each
// sheet: the passes of manual printing joined. reverse turns the order of the sheets round.
TPass JoinedSides(TPrintMode mode, bool reverse, int n);
