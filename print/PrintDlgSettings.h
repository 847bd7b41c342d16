#pragma once
// The print options the print dialog remembers from one print to the next; the settings store
// keeps them between runs. One record lives for the whole run.
#include <QString>
#include <QStringList>

// How the pages go onto paper; the numbers are the ones the settings store keeps.
enum class TPrintMode : qint32 {
    Normalne = 1,    // one page a side
    Zmniejszone = 2, // reduced, two pages a side
    Ksiazeczka = 3,  // booklet
};
// The mode a stored number means. A number outside 1..3 is kept as it is, so that it goes back
// to the store unchanged; the print dialog starts in Normalne for it.
constexpr TPrintMode PrintModeOf(qint32 stored)
{
    return TPrintMode(stored);
}

struct TPrintDlgSettings {
    QString NazwaDruk; // label of the printer last chosen, as the printer list shows it
    TPrintMode Tryb = TPrintMode::Normalne;
    bool Odwrotnie = true;    // pages in reverse order
    bool Dwustronnie = false; // manual two-sided printing
    bool Kolor = false;       // colour; otherwise black and white
    qint32 Kopie = 1;
    bool NoAbort = false; // printer compatibility mode: no abort procedure
    bool NoEMF = false;   // pages as bitmaps instead of replayed pictures
    // The printer prints both sides itself: one job of sheet sides in the order it needs. Chosen for
    // this print; the store remembers it for each printer in DwustronnieAutoDrukarki.
    bool DwustronnieAuto = false;
    QStringList DwustronnieAutoDrukarki; // printers, as the printer list names them

    bool operator==(const TPrintDlgSettings &) const = default;
};

// The one process-wide record.
extern TPrintDlgSettings PrintDlgSettings;
