#pragma once
// Adding printouts as the library window does it: questions and messages in the program's boxes,
// the file being added in the wait window's label.
#include "adding/RozmowaDodawania.h"

class TWorkingDlg;

class TRozmowaOkna : public TRozmowaDodawania {
public:
    // working may be null (no wait window, as at the first refresh).
    explicit TRozmowaOkna(TWorkingDlg *working) : working_(working) {}

    bool PytanieTakNie(const QString &tytul, const QString &tekst) override;
    void PokazBlad(const QString &tytul, const QString &tekst) override;
    void PokazBladAplikacji(const QString &komunikat) override;
    void Postep(const QString &sciezka) override;
    void Odmaluj() override;

private:
    TWorkingDlg *working_;
};
