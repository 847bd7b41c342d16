#include "platform/base/KatalogProgramu.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <optional>
#include <system_error>

namespace {

std::optional<QString> &Katalog()
{
    static std::optional<QString> katalog;
    return katalog;
}

QString ZUkosnikiem(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString FolderPlikuProgramu(const char *argv0)
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !exe.empty())
        return ZUkosnikiem(QFileInfo(QString::fromStdString(exe.string())).absolutePath());
    if (argv0 && *argv0)
        return ZUkosnikiem(QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath());
    return ZUkosnikiem(QDir::currentPath());
}

const QString &KatalogProgramu()
{
    std::optional<QString> &katalog = Katalog();
    if (!katalog)
        katalog = FolderPlikuProgramu();
    return *katalog;
}

void UstawKatalogProgramu(const QString &folder)
{
    Katalog() = ZUkosnikiem(folder);
}
