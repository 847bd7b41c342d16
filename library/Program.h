#pragma once
// The program's run from its command line to the end of its message loop.

// Start-up before the application object exists: the program folder and the process-wide
// formats. argv0 is the program's own path as it was started.
void StartProcesu(const char *argv0);

// The install and uninstall runs. Returns the exit status when the first argument asked for one
// of them, and -1 when the viewer is to run.
int UruchomInstalacje(const char *pierwszyArgument);

// The viewer: the application must exist. Decides the start-up state, shows the window and runs
// the message loop; returns the exit status.
int UruchomPrzegladarke();
