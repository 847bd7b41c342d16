#pragma once
// The program's run from its command line to the end of its message loop.
#include "install/Instalacja.h"
#include "ui/ErrorBox.h"

#include <QString>

#include <functional>

// Start-up before the application object exists: the program folder and the process-wide
// formats. argv0 is the program's own path as it was started.
void StartProcesu(const char *argv0);

// The install and uninstall runs; the application must exist (they ask and report in message boxes).
// Returns the exit status when the first argument asked for one of them, and -1 when the viewer is
// to run.
// paths gives the places they act on: this process's environment, or a test's own folders.
int UruchomInstalacje(const QString &pierwszyArgument,
                      const std::function<TInstallPaths()> &paths = InstallPathsFromEnvironment);

// The viewer's application object. Qt is given the program name only: every argument is the
// program's own, so "wenoglad -reverse plik.wyd" does not open the file mirrored, and "-style" or
// "-platform" before a file name does not swallow it.
class TAplikacja {
public:
    TAplikacja(int argc, char **argv);
    // The first argument after the program name, or an empty text.
    const QString &PierwszyArgument() const { return pierwszy_; }

private:
    int qtArgc_ = 1; // Qt keeps a reference to it for the application's life
    char *qtArgv_[2] = {};
    QString pierwszy_;
    TWenApplication app_;
};

// The viewer: the application must exist. Decides the start-up state from the first argument,
// shows the window and runs the message loop; returns the exit status.
int UruchomPrzegladarke(const QString &pierwszyArgument);
