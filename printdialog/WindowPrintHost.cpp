#include "printdialog/WindowPrintHost.h"

#include "ui/ErrorBox.h"
#include "ui/okienko.h"

TWindowPrintHost::TWindowPrintHost(QObject *owner) : working_(std::make_unique<TWorkingDlg>(owner))
{
    working_->Caption = QStringLiteral(" Zaczekaj chwilę...");
    working_->Tekst = QStringLiteral("Trwa przesyłanie wydruku do kolejki drukarki");
    working_->JestPostepLbl = false;
    working_->JestPostepLbl2 = false;
    working_->JestPostepBar = true;
}

TWindowPrintHost::~TWindowPrintHost() = default;

bool TWindowPrintHost::PytanieTakNie(const QString &title, const QString &text)
{
    return ::PytanieTakNie(title, text);
}

bool TWindowPrintHost::PytanieOkAnuluj(const QString &title, const QString &text)
{
    return ::PytanieOkAnuluj(title, text);
}

void TWindowPrintHost::ProgressStart(int max)
{
    working_->SetProgressMax(max);
    working_->UstawPozycje(0);
    working_->Pokaz();
}

void TWindowPrintHost::ProgressStep()
{
    working_->Krok();
}

void TWindowPrintHost::ProgressEnd()
{
    working_->Ukryj();
}

void TWindowPrintHost::Ostrzezenie(const QString &text)
{
    PokazInfo(QStringLiteral("Wydruk czeka w kolejce"), text);
}

void TWindowPrintHost::ShowException(std::exception_ptr error)
{
    HandleUncaughtException(error);
}
