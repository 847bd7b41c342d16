#pragma once
// The print engine's host under the print dialog: the program's message boxes, its wait window with a
// progress bar, and the cancel request the dialog sets when the user closes it while printing.
#include "print/PrintHost.h"

#include <memory>

class QObject;
class TWorkingDlg;

class TWindowPrintHost : public TPrintHost {
public:
    explicit TWindowPrintHost(QObject *owner);
    ~TWindowPrintHost() override;

    // Set by the dialog; read by the engine after every page placed.
    bool Cancel = false;

    bool PytanieTakNie(const QString &title, const QString &text) override;
    bool PytanieOkAnuluj(const QString &title, const QString &text) override;
    void ProgressStart(int max) override;
    void ProgressStep() override;
    void ProgressEnd() override;
    bool CancelRequested() override { return Cancel; }
    void Ostrzezenie(const QString &text) override;
    void ShowException(std::exception_ptr error) override;

    TWorkingDlg &WorkingDlg() { return *working_; }

private:
    std::unique_ptr<TWorkingDlg> working_;
};
