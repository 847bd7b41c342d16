// wenoglad: the printout viewer.
#include "app/Program.h"
#include "app/Uruchomienie.h"

int main(int argc, char **argv)
{
    StartProcesu(argv[0]);
    TAplikacja app(argc, argv);
    QApplication::setApplicationName(kTytulAplikacji);
    if (const int status = UruchomInstalacje(app.PierwszyArgument()); status >= 0)
        return status;
    return UruchomPrzegladarke(app.PierwszyArgument());
}
