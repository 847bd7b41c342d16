#pragma once
// The print options the print dialog remembers from one print to the next; the settings store
// keeps them between runs. One record lives for the whole run.
#include <QString>

struct TPrintDlgSettings {
    QString NazwaDruk;        // label of the printer last chosen, as the printer list shows it
    qint32 Tryb = 1;          // 1 normal, 2 reduced (two pages a side), 3 booklet
    bool Odwrotnie = true;    // pages in reverse order
    bool Dwustronnie = false; // manual two-sided printing
    bool Kolor = false;       // colour; otherwise black and white
    qint32 Kopie = 1;
    bool NoAbort = false; // printer compatibility mode: no abort procedure
    bool NoEMF = false;   // pages as bitmaps instead of replayed pictures

    bool operator==(const TPrintDlgSettings &) const = default;
};

// The one process-wide record.
extern TPrintDlgSettings PrintDlgSettings;
