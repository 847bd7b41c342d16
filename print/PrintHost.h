#pragma once
// What the print engine needs from whoever runs it: the print dialog with its message boxes and wait
// window, or the command line, which answers for the user.
#include <QString>

#include <exception>

class TPrintHost {
public:
    virtual ~TPrintHost() = default;
    // A question with "&Tak" and "&Nie"; true for "&Tak".
    virtual bool PytanieTakNie(const QString &title, const QString &text) = 0;
    // A question with "&Ok" and "&Anuluj"; true for "&Ok".
    virtual bool PytanieOkAnuluj(const QString &title, const QString &text) = 0;
    // The wait window: shown at position 0 of max units, moved one unit at a time, closed at the end.
    virtual void ProgressStart(int max) = 0;
    virtual void ProgressStep() = 0;
    virtual void ProgressEnd() = 0;
    // Whether the user asked to stop; read after every page placed.
    virtual bool CancelRequested() = 0;
    // A warning that needs no answer: the job was handed over but waits in its queue.
    virtual void Ostrzezenie(const QString &text) = 0;
    // The program's general display of an error that ended a copy; the user's abort (EAbort) shows
    // nothing.
    virtual void ShowException(std::exception_ptr error) = 0;
};
