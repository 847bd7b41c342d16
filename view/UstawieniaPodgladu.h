#pragma once
// The preview window's per-user settings: its bounds, maximised state and display margins, and
// the remembered print options (PrintDlgSettings), kept in the user's settings file
// (~/.config/Wenoglad/Wenoglad.conf). The preview reads them once at creation and writes them when
// it closes.
#include "platform/base/Defaults.h"

#include <QRect>

// What the preview window hands to the store and takes back from it.
struct TStanPodgladu {
    QRect Okno; // the window's outer bounds: left, top, width, height
    bool Zmaksymalizowane = false;
    int MargTop = defaults::kMarginTop; // display margins in millimetres, 0..99
    int MargLeft = defaults::kMarginLeft;
    int MargRight = defaults::kMarginRight;
    int MargBottom = defaults::kMarginBottom;
};

// The state of a new preview before anything is read: placed inside the desktop work area, 150
// pixels from its left and 5 from its top, 300 narrower and 10 lower; the initial margins.
TStanPodgladu DomyslnyStanPodgladu(const QRect &obszarRoboczy);

// Reads the stored settings over stan and PrintDlgSettings. Never fails: a missing or unreadable
// value keeps what was there, and the four bounds are taken only all together. Stored bounds are
// cut back to the work area's right and bottom edges.
void WczytajUstawienia(TStanPodgladu &stan, const QRect &obszarRoboczy);

// Writes stan and PrintDlgSettings. A maximised window writes only that it was maximised, so the
// last normal bounds stay stored. A store that cannot be opened is skipped silently; one that
// cannot be written raises Exception with a message for the user.
void ZapiszUstawienia(const TStanPodgladu &stan);
