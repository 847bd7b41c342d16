// wenoglad_package_files: writes the files the Debian package carries that the programs' own code
// defines, so that no second copy of their texts is kept by hand.
//   man wenoglad|wenoglad-cli        the manual page on standard output
//   bash-completion                  the completion of wenoglad-cli on standard output
//   desktop DATA_DIR PROGRAM_DIR     what INST writes under DATA_DIR, for a program in PROGRAM_DIR
#include "cli/package/PackageFiles.h"
#include "install/Instalacja.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

int Print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

int WriteDesktopFiles(const QString &dataDir, const QString &programDir)
{
    TInstallPaths paths;
    paths.Root = true;
    paths.Library = QDir::cleanPath(programDir) + u'/';
    paths.Program = paths.Library + QStringLiteral("wenoglad");
    paths.Cli = paths.Library + QStringLiteral("wenoglad-cli");
    paths.DataHome = dataDir;
    // No desktop folder: a package puts nothing on anyone's desktop.
    for (const TInstalledFile &file : InstalledFiles(paths)) {
        QDir().mkpath(QFileInfo(file.Path).path());
        QSaveFile out(file.Path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.Content) != file.Content.size() || !out.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.Path));
            return 1;
        }
        std::printf("%s\n", qPrintable(file.Path));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 2 && args[0] == QLatin1String("man") && args[1] == QLatin1String("wenoglad"))
        return Print(ManPage(ProgramUsage(), QStringLiteral(WENOGLAD_VERSION)));
    if (args.size() == 2 && args[0] == QLatin1String("man") && args[1] == QLatin1String("wenoglad-cli"))
        return Print(ManPage(CliUsage(), QStringLiteral(WENOGLAD_VERSION)));
    if (args.size() == 1 && args[0] == QLatin1String("bash-completion"))
        return Print(BashCompletion(CliUsage()));
    if (args.size() == 3 && args[0] == QLatin1String("desktop"))
        return WriteDesktopFiles(args[1], args[2]);
    std::fputs("usage: wenoglad_package_files man wenoglad|wenoglad-cli | bash-completion | "
               "desktop DATA_DIR PROGRAM_DIR\n",
               stderr);
    return 2;
}
