#include "app/Program.h"

#include "app/Uruchomienie.h"
#include "library/uFrmLista.h"
#include "platform/base/KatalogProgramu.h"

#include <QApplication>

#include <cstdio>

void StartProcesu(const char *argv0)
{
    UstawKatalogProgramu(FolderPlikuProgramu(argv0));
    UstawFormatyProcesu();
}

int UruchomInstalacje(const char *pierwszyArgument)
{
    const QString argument = pierwszyArgument ? QString::fromLocal8Bit(pierwszyArgument) : QString();
    switch (RodzajUruchomienia(argument)) {
    case TRodzajUruchomienia::Instaluj:
        std::fputs("wenoglad: instalacja (INST) nie jest jeszcze dostępna w tej wersji.\n", stderr);
        return 2;
    case TRodzajUruchomienia::Odinstaluj:
        std::fputs("wenoglad: odinstalowanie (UNINST) nie jest jeszcze dostępne w tej wersji.\n", stderr);
        return 2;
    case TRodzajUruchomienia::Przegladarka:
        break;
    }
    return -1;
}

namespace {

char kNazwaProgramu[] = "wenoglad";

char **ArgumentyQt(int argc, char **argv, char **qtArgv)
{
    qtArgv[0] = argc > 0 && argv[0] ? argv[0] : kNazwaProgramu;
    qtArgv[1] = nullptr;
    return qtArgv;
}

} // namespace

TAplikacja::TAplikacja(int argc, char **argv)
    : pierwszy_(argc > 1 && argv[1] ? QString::fromLocal8Bit(argv[1]) : QString()),
      app_(qtArgc_, ArgumentyQt(argc, argv, qtArgv_))
{
}

int UruchomPrzegladarke(const QString &pierwszyArgument)
{
    // The library window is the one main window; a file for the preview opens when it is first
    // activated, and closing the window ends the message loop.
    TFrmLista frm(StanStartowyProgramu(pierwszyArgument));
    frm.show();
    return QApplication::exec();
}
