#include "library/Instalacja.h"

#include "library/InstalacjaPakietu.h"

#include "platform/base/Exception.h"
#include "platform/base/KatalogProgramu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <unistd.h>

namespace {

const QString kKatalog = QStringLiteral("Katalog");
const QString kMimeType = QStringLiteral("application/x-wenor-wydruk");
const QString kDesktopFile = QStringLiteral("wenoglad.desktop");
// The program's own files in the library folder, which the removal script deletes with the printouts.
const QStringList kProgramFiles = {QStringLiteral("wenoglad"), QStringLiteral("wenoglad-cli"),
                                   QStringLiteral("pomoc.html")};

QString Env(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// Runs a tool the desktop may lack; nothing happens without it.
void RunIfPresent(const QString &program, const QStringList &args)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return;
    try {
        UruchomIZaczekaj(QStringList{path} + args);
    } catch (const Exception &) {
        // A tool that exists but does not start leaves the rest of the run as it is.
    }
}

void RefreshDatabases(const TInstallPaths &paths)
{
    if (!paths.RunTools)
        return;
    const QDir data(paths.DataHome);
    RunIfPresent(QStringLiteral("update-mime-database"), {data.filePath(QStringLiteral("mime"))});
    RunIfPresent(QStringLiteral("update-desktop-database"), {data.filePath(QStringLiteral("applications"))});
}

void WriteFile(const TInstalledFile &file)
{
    QDir().mkpath(QFileInfo(file.Path).path());
    QSaveFile out(file.Path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file.Content) != file.Content.size() || !out.commit())
        throw Exception(QStringLiteral("Nie można zapisać pliku %1").arg(file.Path));
    QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (file.Executable)
        mode |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(file.Path, mode);
}

// A text for the shell inside single quotes, the quote itself closed, escaped and reopened.
QByteArray ShellQuoted(const QString &path)
{
    QByteArray bytes = QFile::encodeName(path);
    bytes.replace('\'', "'\\''");
    return '\'' + bytes + '\'';
}

QString WithoutSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

// The homes of the users in the passwd file (its sixth field).
QStringList Homes(const QString &passwd)
{
    QStringList homes;
    QFile file(passwd);
    if (!file.open(QIODevice::ReadOnly))
        return homes;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(':');
        if (fields.size() >= 6 && !fields[5].isEmpty() && !homes.contains(QFile::decodeName(fields[5])))
            homes << QFile::decodeName(fields[5]);
    }
    return homes;
}

} // namespace

TInstallPaths InstallPathsFromEnvironment()
{
    TInstallPaths p;
    p.Root = geteuid() == 0;
    p.Library = KatalogProgramu();
    p.Program = p.Library + QStringLiteral("wenoglad");
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        p.Program = self;
    p.Cli = QFileInfo(p.Program).dir().filePath(QStringLiteral("wenoglad-cli"));
    const QString home = QDir::homePath();
    const QString configHome = Env("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    p.UserConfig = configHome + QStringLiteral("/Wenoglad");
    if (p.Root) {
        p.DataHome = QStringLiteral("/usr/local/share");
        p.ConfigFile = QStringLiteral("/etc/xdg/Wenoglad/Wenoglad.conf");
    } else {
        p.DataHome = Env("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
        p.ConfigFile = p.UserConfig + QStringLiteral("/Wenoglad.conf");
    }
    // The desktop folder as the user's desktop names it; none when it is not there.
    QProcess dir;
    dir.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("DESKTOP")});
    QString desktop;
    if (dir.waitForFinished(5000) && dir.exitCode() == 0)
        desktop = QString::fromLocal8Bit(dir.readAllStandardOutput()).trimmed();
    // xdg-user-dir answers the home folder itself when no desktop folder is set.
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir() && QDir(desktop) != QDir(home))
        p.Desktop = desktop;
    p.TempDir = QDir::tempPath();
    p.Passwd = QStringLiteral("/etc/passwd");
    p.PackageMarker = kPlikPakietu;
    return p;
}

void UruchomIZaczekaj(const QStringList &commandLine)
{
    if (commandLine.isEmpty())
        throw Exception(QStringLiteral("Nie podano polecenia"));
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(commandLine.front(), commandLine.mid(1));
    if (!process.waitForStarted())
        throw Exception(QStringLiteral("Nie można uruchomić polecenia %1").arg(commandLine.front()));
    process.waitForFinished(-1);
}

bool SprawdzUprawnienia(const TInstallPaths &paths, const TInstallDialogs &dialogs, const QString &word)
{
    if (paths.Root || QFileInfo(WithoutSlash(paths.Library)).isWritable())
        return true;
    if (dialogs.PokazBlad)
        dialogs.PokazBlad(QStringLiteral("Brak uprawnień !"),
                          word + QStringLiteral(" programu wymaga uprawnień administratora systemu."));
    return false;
}

QString SciezkaSkrotu(const TInstallPaths &paths)
{
    return paths.Desktop.isEmpty() ? QString() : QDir(paths.Desktop).filePath(kDesktopFile);
}

void UstawUprawnienia(const TInstallPaths &paths)
{
    if (!paths.Root)
        return;
    const QString folder = WithoutSlash(paths.Library);
    QStringList printouts;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo &entry : entries)
        if (entry.suffix().compare(QLatin1String("wyd"), Qt::CaseInsensitive) == 0)
            printouts << entry.filePath();
    const QString setfacl = QStandardPaths::findExecutable(QStringLiteral("setfacl"));
    QList<QStringList> commands;
    if (!setfacl.isEmpty()) {
        commands = {{setfacl, QStringLiteral("-x"), QStringLiteral("g:users"), folder},
                    {setfacl, QStringLiteral("-m"), QStringLiteral("g:users:rx"), folder},
                    {setfacl, QStringLiteral("-m"), QStringLiteral("g:users:rwx"), folder}};
        if (!printouts.isEmpty())
            commands.append(QStringList{setfacl, QStringLiteral("-m"), QStringLiteral("g:users:rw")} + printouts);
    } else {
        commands = {{QStringLiteral("chgrp"), QStringLiteral("users"), folder},
                    {QStringLiteral("chmod"), QStringLiteral("g+rwx"), folder}};
        if (!printouts.isEmpty()) {
            commands.append(QStringList{QStringLiteral("chgrp"), QStringLiteral("users")} + printouts);
            commands.append(QStringList{QStringLiteral("chmod"), QStringLiteral("g+rw")} + printouts);
        }
    }
    // A command that cannot start stops the step; what the commands answer is not looked at.
    try {
        for (const QStringList &command : commands)
            UruchomIZaczekaj(command);
    } catch (const Exception &) {
    }
}

void Instaluj(const TInstallPaths &paths, const TInstallDialogs &dialogs)
{
    if (OdmowaWPakiecie(paths, dialogs, TRunPakietu::Instalacja))
        return;
    if (!SprawdzUprawnienia(paths, dialogs, QStringLiteral("Instalacja")))
        return;
    const QList<TInstalledFile> files = InstalledFiles(paths);
    for (const TInstalledFile &file : files) {
        if (file.Path == SciezkaSkrotu(paths)) {
            // The shortcut is a convenience: a desktop that refuses it changes nothing else.
            try {
                WriteFile(file);
                if (paths.RunTools)
                    RunIfPresent(QStringLiteral("gio"), {QStringLiteral("set"), file.Path,
                                                         QStringLiteral("metadata::trusted"), QStringLiteral("true")});
            } catch (const Exception &) {
            }
            continue;
        }
        WriteFile(file);
    }
    UstawUprawnienia(paths);
    QSettings store(paths.ConfigFile, QSettings::IniFormat);
    store.setValue(kKatalog, paths.Library);
    store.sync();
    if (store.status() != QSettings::NoError)
        throw Exception(QStringLiteral("Nie można zapisać pliku %1").arg(paths.ConfigFile));
    RefreshDatabases(paths);
    if (!paths.Root && paths.RunTools)
        RunIfPresent(QStringLiteral("xdg-mime"), {QStringLiteral("default"), kDesktopFile, kMimeType});
}

QString Odinstaluj(const TInstallPaths &paths, const TInstallDialogs &dialogs)
{
    if (OdmowaWPakiecie(paths, dialogs, TRunPakietu::Odinstalowanie))
        return {};
    if (!SprawdzUprawnienia(paths, dialogs, QStringLiteral("Odinstalowanie")))
        return {};
    if (!dialogs.PotwierdzTAK ||
        !dialogs.PotwierdzTAK(QStringLiteral("Odinstalowanie przeglądarki wydruków Wenora 2001"),
                              QStringLiteral("Czy na pewno chcesz odinstalować program Wenoglad\ri wszystkie "
                                             "wydruki zapisane w katalogu\r") +
                                  paths.Library + QStringLiteral(" ?")))
        return {};

    // Every user's settings when the install was machine-wide, the caller's own otherwise.
    QStringList settings{paths.UserConfig};
    if (paths.Root)
        for (const QString &home : Homes(paths.Passwd))
            settings << QDir(home).filePath(QStringLiteral(".config/Wenoglad"));
    for (const QString &folder : settings)
        QDir(folder).removeRecursively();
    if (QFileInfo::exists(paths.ConfigFile)) {
        QSettings store(paths.ConfigFile, QSettings::IniFormat);
        store.remove(kKatalog);
        store.sync();
        if (store.allKeys().isEmpty())
            QFile::remove(paths.ConfigFile);
    }
    for (const TInstalledFile &file : InstalledFiles(paths))
        QFile::remove(file.Path);
    RefreshDatabases(paths);

    const QString script = QDir(paths.TempDir).filePath(QStringLiteral("WenogladRemove.sh"));
    WriteFile({script, SkryptUsuwania(paths, script), true});
    return script;
}

QByteArray SkryptUsuwania(const TInstallPaths &paths, const QString &scriptPath)
{
    const QByteArray library = ShellQuoted(paths.Library);
    QByteArray s = "#!/bin/sh\n"
                   "# Removes Wenoglad from its folder once the program has ended.\n";
    const QByteArray program = ShellQuoted(paths.Library + kProgramFiles.front());
    s += "i=0\n"
         "while [ -e " +
         program + " ] && [ \"$i\" -lt 60 ]; do\n  rm -f " + program + "\n  [ -e " + program +
         " ] && sleep 1\n  i=$((i + 1))\ndone\n";
    for (const QString &name : kProgramFiles.mid(1))
        s += "rm -f " + ShellQuoted(paths.Library + name) + "\n";
    s += "for f in " + library + "*.[wW][yY][dD]; do\n  [ -f \"$f\" ] && rm -f \"$f\"\ndone\n";
    s += "rmdir " + ShellQuoted(WithoutSlash(paths.Library)) + " 2>/dev/null\n";
    s += "rm -f " + ShellQuoted(scriptPath) + "\n";
    return s;
}
