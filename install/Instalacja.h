#pragma once
// Installing the program on a Linux desktop and removing it again. The Windows entries keep their
// roles in freedesktop form: the "Katalog" value in the settings store, a desktop entry (the list of
// installed programs, the open command and the uninstall action), a MIME type for printouts with its
// icon, a thumbnailer, a shortcut on the desktop, and group access to the library folder.
//
// As root the install is machine-wide (/usr/local/share, /etc/xdg); anyone else installs for
// themselves (~/.local/share, ~/.config), which needs no other right than writing the library folder.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Every place the install and the uninstall touch. Taken from the environment in the program; tests
// point all of them into a temporary folder.
struct TInstallPaths {
    bool Root = false;
    QString Program;    // the running program file
    QString Cli;        // wenoglad-cli beside it
    QString Library;    // KatalogProgramu, with a final "/"
    QString DataHome;   // where applications/, mime/, icons/ and thumbnailers/ go
    QString ConfigFile; // the settings store that gets "Katalog"
    QString Desktop;    // the desktop folder; empty when there is none
    QString TempDir;    // where the removal script is written
    QString Passwd;     // the user list whose homes lose their settings (root only)
    QString UserConfig; // the caller's own settings folder (~/.config/Wenoglad)
    QString MimeApps;   // the caller's default applications (~/.config/mimeapps.list)
    // Whether the desktop's tools (update-mime-database, xdg-mime, ...) are run; they act on the
    // environment's folders, so tests that move the folders elsewhere leave them out.
    bool RunTools = true;
    // The file in which the system's package names its program folder; empty: no package.
    QString PackageMarker;
};

// The paths of this process and user.
TInstallPaths InstallPathsFromEnvironment();

// One file the install writes; the uninstall removes exactly these.
struct TInstalledFile {
    QString Path;
    QByteArray Content;
    bool Executable = false;
};

// Everything the install writes, in the order it writes it. The desktop shortcut is included when
// there is a desktop folder.
QList<TInstalledFile> InstalledFiles(const TInstallPaths &paths);

// The questions and messages of the two runs (the message boxes in the program, answers in tests).
struct TInstallDialogs {
    std::function<void(const QString &title, const QString &text)> PokazBlad;
    std::function<bool(const QString &title, const QString &text)> PotwierdzTAK;
    std::function<void(const QString &title, const QString &text)> PokazInfo;
};

// Runs commandLine's program with its arguments, its output discarded, and waits for its end.
// Raises Exception when it cannot be started.
void UruchomIZaczekaj(const QStringList &commandLine);

// Whether the run may go on; word is "Instalacja" or "Odinstalowanie". Root may; anyone else may
// when the library folder is theirs to write (the printouts are removed from it); otherwise the
// message "Brak uprawnień !" is shown and the answer is no.
bool SprawdzUprawnienia(const TInstallPaths &paths, const TInstallDialogs &dialogs, const QString &word);
// The desktop shortcut's path, or an empty text without a desktop folder.
QString SciezkaSkrotu(const TInstallPaths &paths);
// Group "users" may read the library and read and write its printouts: ACLs where setfacl exists,
// mode bits otherwise. Machine-wide installs only; the commands' results are not looked at.
void UstawUprawnienia(const TInstallPaths &paths);

void Instaluj(const TInstallPaths &paths, const TInstallDialogs &dialogs);
// Returns the removal script's path when the uninstall went ahead (the caller starts it once the
// program is about to end), or an empty text when it did not. The script gets a fresh name in the
// temporary folder, runnable by its owner only, so nothing another user put there is followed.
QString Odinstaluj(const TInstallPaths &paths, const TInstallDialogs &dialogs);

// Writes the removal script into paths.TempDir under a fresh name, mode 0700, and returns its path.
QString WriteRemovalScript(const TInstallPaths &paths);

// The removal script: waits (at most 60 s) for the program file to go, then removes the printouts,
// the folder when nothing else is left in it, and itself.
QByteArray SkryptUsuwania(const TInstallPaths &paths, const QString &scriptPath);
