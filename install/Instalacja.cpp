#include "install/Instalacja.h"

#include "install/InstalacjaPakietu.h"
#include "platform/base/Defaults.h"

#include "platform/base/Exception.h"
#include "platform/base/KatalogProgramu.h"
#include "platform/base/NativePath.h"
#include "platform/base/SaveFile.h"
#include "platform/base/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kKatalog = QStringLiteral("Katalog");
// The folders the install made, which the uninstall removes again when nothing else is in them.
const QString kUtworzone = QStringLiteral("Utworzone");
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

// The desktop's caches, rebuilt from what is installed; skip names a folder that is about to go.
void RefreshDatabases(const TInstallPaths &paths, const QStringList &skip = {})
{
    if (!paths.RunTools)
        return;
    const QDir data(paths.DataHome);
    const QString mime = data.filePath(QStringLiteral("mime"));
    const QString applications = data.filePath(QStringLiteral("applications"));
    if (!skip.contains(mime))
        RunIfPresent(QStringLiteral("update-mime-database"), {mime});
    if (!skip.contains(applications))
        RunIfPresent(QStringLiteral("update-desktop-database"), {applications});
}

// The folders of path, from the outermost, that do not exist yet.
QStringList MissingFolders(const QString &path)
{
    QStringList missing;
    for (QString folder = QFileInfo(path).absolutePath(); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).absolutePath()) {
        missing.prepend(folder);
        if (QFileInfo(folder).isRoot())
            break;
    }
    return missing;
}

void WriteFile(const TInstalledFile &file)
{
    QDir().mkpath(QFileInfo(file.Path).path());
    platform::SaveFile out(file.Path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file.Content) != file.Content.size() || !out.commit())
        throw Exception(out.ErrorText());
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

// Takes our entry out of the default for the printout type in a mimeapps.list, only while it still
// names our entry first (another program chosen since is the user's choice); the rest of the file
// stays as it is.
void RemoveAssociation(const QString &mimeApps)
{
    QFile file(mimeApps);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    const QByteArray key = QString(defaults::kPrintoutMimeType).toUtf8() + '=';
    QByteArray section;
    QList<QByteArray> kept;
    bool changed = false;
    for (const QByteArray &line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('['))
            section = trimmed;
        if ((section == "[Default Applications]" || section == "[Added Associations]") && trimmed.startsWith(key)) {
            QList<QByteArray> entries = trimmed.mid(key.size()).split(';');
            entries.removeAll(QByteArray());
            if (!entries.isEmpty() && entries.front() == kDesktopFile.toUtf8()) {
                entries.removeAll(kDesktopFile.toUtf8());
                changed = true;
                if (!entries.isEmpty())
                    kept << key + entries.join(';') + ';';
                continue;
            }
        }
        kept << line;
    }
    if (!changed)
        return;
    const QByteArray content = kept.join('\n');
    platform::SaveFile out(mimeApps);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        throw Exception(out.ErrorText());
}

bool OnlyHolds(const QString &folder, const QStringList &names)
{
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::all_of(entries.begin(), entries.end(), [&names](const QString &e) { return names.contains(e); });
}

// Of the folders the install made, those that will hold only what the desktop's tools generate
// from the installed files once they are gone: the tools are not run on them, they go whole.
QStringList GeneratedOnly(const TInstallPaths &paths, const QStringList &created)
{
    const QDir data(paths.DataHome);
    const QString mime = data.filePath(QStringLiteral("mime"));
    const QString applications = data.filePath(QStringLiteral("applications"));
    QStringList generated;
    const QString packages = mime + QStringLiteral("/packages");
    if (created.contains(mime) &&
        QDir(packages).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        generated << mime;
    if (created.contains(applications) && OnlyHolds(applications, {QStringLiteral("mimeinfo.cache")}))
        generated << applications;
    return generated;
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
    p.MimeApps = configHome + QStringLiteral("/mimeapps.list");
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
        if (entry.suffix().compare(defaults::kPrintoutSuffix, Qt::CaseInsensitive) == 0)
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
    try {
        for (const QStringList &command : commands)
            UruchomIZaczekaj(command);
    } catch (const Exception &) {
        // A command that cannot start stops the step; what the commands answer is not looked at.
    }
}

void Instaluj(const TInstallPaths &paths, const TInstallDialogs &dialogs)
{
    if (OdmowaWPakiecie(paths, dialogs, TRunPakietu::Instalacja))
        return;
    if (!SprawdzUprawnienia(paths, dialogs, QStringLiteral("Instalacja")))
        return;
    const QList<TInstalledFile> files = InstalledFiles(paths);
    QStringList created = QSettings(paths.ConfigFile, QSettings::IniFormat).value(kUtworzone).toStringList();
    for (const TInstalledFile &file : files)
        for (const QString &folder : MissingFolders(file.Path))
            if (!created.contains(folder))
                created << folder;
    for (const QString &folder : MissingFolders(paths.ConfigFile))
        if (!created.contains(folder))
            created << folder;
    for (const TInstalledFile &file : files) {
        if (file.Path == SciezkaSkrotu(paths)) {
            try {
                WriteFile(file);
                if (paths.RunTools)
                    RunIfPresent(QStringLiteral("gio"), {QStringLiteral("set"), file.Path,
                                                         QStringLiteral("metadata::trusted"), QStringLiteral("true")});
            } catch (const Exception &) {
                // The shortcut is a convenience: a desktop that refuses it changes nothing else.
            }
            continue;
        }
        WriteFile(file);
    }
    UstawUprawnienia(paths);
    QSettings store(paths.ConfigFile, QSettings::IniFormat);
    store.setValue(kKatalog, paths.Library);
    if (!created.isEmpty())
        store.setValue(kUtworzone, created);
    store.sync();
    if (store.status() != QSettings::NoError)
        throw Exception(QStringLiteral("Nie można zapisać pliku %1").arg(paths.ConfigFile));
    RefreshDatabases(paths);
    if (!paths.Root && paths.RunTools)
        RunIfPresent(QStringLiteral("xdg-mime"),
                     {QStringLiteral("default"), kDesktopFile, defaults::kPrintoutMimeType});
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

    const QStringList created = QSettings(paths.ConfigFile, QSettings::IniFormat).value(kUtworzone).toStringList();

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
        store.remove(kUtworzone);
        store.sync();
        if (store.allKeys().isEmpty())
            QFile::remove(paths.ConfigFile);
    }
    for (const TInstalledFile &file : InstalledFiles(paths))
        QFile::remove(file.Path);
    if (!paths.MimeApps.isEmpty())
        RemoveAssociation(paths.MimeApps);
    const QStringList generated = GeneratedOnly(paths, created);
    RefreshDatabases(paths, generated);
    for (const QString &folder : generated)
        QDir(folder).removeRecursively();
    // Deepest first, so that a folder emptied by its child's removal goes too; rmdir leaves any
    // folder that holds something.
    QStringList folders = created;
    std::sort(folders.begin(), folders.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &folder : folders)
        ::rmdir(QFile::encodeName(folder).constData());

    return WriteRemovalScript(paths);
}

QString WriteRemovalScript(const TInstallPaths &paths)
{
    std::filesystem::path created;
    const int fd = platform::CreateUniqueFile(platform::NativePath(paths.TempDir), "WenogladRemove-", ".sh", created);
    if (fd < 0)
        throw Exception(QStringLiteral("Nie można utworzyć skryptu usuwania w katalogu %1: %2")
                            .arg(paths.TempDir, platform::SystemErrorText(errno)));
    const QString script = platform::DisplayPath(created);
    const QByteArray content = SkryptUsuwania(paths, script);
    const bool ok = ::fchmod(fd, 0700) == 0 && platform::WriteAll(fd, content.constData(), size_t(content.size())) &&
                    ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok) {
        ::unlink(created.c_str());
        throw Exception(
            QStringLiteral("Nie można zapisać skryptu usuwania %1: %2").arg(script, platform::SystemErrorText(error)));
    }
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
