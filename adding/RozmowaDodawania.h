#pragma once
// What adding printouts asks and tells the user. The library window answers with its message
// boxes and wait window; tests answer with a script.
#include <QString>

class TRozmowaDodawania {
public:
    virtual ~TRozmowaDodawania() = default;
    // The yes/no question; true for Yes.
    virtual bool PytanieTakNie(const QString &tytul, const QString &tekst) = 0;
    // The error message (warning beep, error kind).
    virtual void PokazBlad(const QString &tytul, const QString &tekst) = 0;
    // The application's standard error box, titled "Wenoglad".
    virtual void PokazBladAplikacji(const QString &komunikat) = 0;
    // The wait window's progress label: the file now being added.
    virtual void Postep(const QString &sciezka) = 0;
    // Repaints the open windows, so that the area under a closed question is drawn again.
    virtual void Odmaluj() = 0;
};
