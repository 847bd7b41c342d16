#include "library/Program.h"

#include "library/Uruchomienie.h"
#include "platform/KatalogProgramu.h"
#include "view/uFrmPodglad.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

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

int UruchomPrzegladarke()
{
    const TStanStartowy stan = StanStartowyProgramu();
    if (!stan.PlikDoPodgladu.isEmpty()) {
        TFrmPodglad podglad;
        podglad.UstawPlik(stan.PlikDoPodgladu);
        podglad.exec();
        return 0;
    }
    std::fputs("wenoglad: okno biblioteki wydruków nie jest jeszcze dostępne; podaj ścieżkę pliku .wyd.\n",
               stderr);
    return 2;
}
