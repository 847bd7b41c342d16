// wenoglad: the printout viewer.
#include "app/Program.h"
#include "app/Uruchomienie.h"

int main(int argc, char **argv)
{
    StartProcesu(argv[0]);
    const int status = UruchomInstalacje(argc > 1 ? argv[1] : nullptr);
    if (status >= 0)
        return status;
    TAplikacja app(argc, argv);
    QApplication::setApplicationName(kTytulAplikacji);
    return UruchomPrzegladarke(app.PierwszyArgument());
}
