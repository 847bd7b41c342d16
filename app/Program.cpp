#include "app/Program.h"

#include "app/Uruchomienie.h"
#include "install/Instalacja.h"
#include "library/uFrmLista.h"
#include "platform/base/KatalogProgramu.h"
#include "ui/okienko.h"

#include <QApplication>
#include <QProcess>

void StartProcesu(const char *argv0)
{
    UstawKatalogProgramu(FolderPlikuProgramu(argv0));
    UstawFormatyProcesu();
}

int UruchomInstalacje(const QString &pierwszyArgument, const std::function<TInstallPaths()> &paths)
{
    const TRodzajUruchomienia rodzaj = RodzajUruchomienia(pierwszyArgument);
    if (rodzaj == TRodzajUruchomienia::Przegladarka)
        return -1;
    const TInstallDialogs dialogs{&PokazBlad, &PotwierdzTAK, &PokazInfo};
    try {
        const TInstallPaths where = paths();
        if (rodzaj == TRodzajUruchomienia::Instaluj) {
            Instaluj(where, dialogs);
        } else if (const QString script = Odinstaluj(where, dialogs); !script.isEmpty()) {
            // The script waits for the program file to go, so it starts now and runs on after us.
            QProcess::startDetached(QStringLiteral("/bin/sh"), {script});
        }
    } catch (...) {
        HandleUncaughtException(std::current_exception());
        return 1;
    }
    return 0;
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
