#pragma once
// The print engine's host on the command line: questions are answered for the user with a line on
// standard error, and the turn of the sheets waits for Enter on the terminal, where the end of input
// stops the whole print.
#include "print/PrintHost.h"

class TCliPrintHost : public TPrintHost {
public:
    // Whether the turn of the sheets can be asked: standard input is a terminal.
    static bool CanTurnSheets();

    bool PytanieTakNie(const QString &title, const QString &text) override;
    bool PytanieOkAnuluj(const QString &title, const QString &text) override;
    void ProgressStart(int) override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
    // Once the user stopped at the turn of the sheets, nothing more is printed.
    bool CancelRequested() override { return stopped_; }
    // Said on standard error; the job was accepted, so the exit code stays 0.
    void Ostrzezenie(const QString &text) override;
    void ShowException(std::exception_ptr error) override;

    // Whether a copy failed (its error went to standard error).
    bool Failed() const { return failed_; }

private:
    bool failed_ = false;
    bool stopped_ = false;
};
