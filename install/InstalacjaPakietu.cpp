#include "install/InstalacjaPakietu.h"

#include <QFile>
#include <QFileInfo>

namespace {

// More than any list of folders needs; a marker beyond it is not the package's.
constexpr qint64 kMarkerLimit = 64 * 1024;

} // namespace

bool KatalogZPakietu(const QString &folder, const QString &markerFile)
{
    const QString own = QFileInfo(folder).canonicalFilePath();
    // Only a regular file is read: a FIFO in its place would block the run.
    if (own.isEmpty() || markerFile.isEmpty() || !QFileInfo(markerFile).isFile())
        return false;
    QFile marker(markerFile);
    if (!marker.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = marker.read(kMarkerLimit + 1);
    if (content.size() > kMarkerLimit)
        return false;
    for (const QByteArray &line : content.split('\n')) {
        const QByteArray named = line.trimmed();
        if (!named.isEmpty() && QFileInfo(QFile::decodeName(named)).canonicalFilePath() == own)
            return true;
    }
    return false;
}

bool OdmowaWPakiecie(const TInstallPaths &paths, const TInstallDialogs &dialogs, TRunPakietu run)
{
    if (!KatalogZPakietu(paths.Library, paths.PackageMarker))
        return false;
    if (run == TRunPakietu::Instalacja) {
        if (dialogs.PokazInfo)
            dialogs.PokazInfo(QStringLiteral("Wenoglad"),
                              QStringLiteral("Program Wenoglad jest już zainstalowany z pakietu systemu w katalogu\r") +
                                  paths.Library + QStringLiteral("\rInstalacja niczego nie zmienia."));
    } else if (dialogs.PokazInfo) {
        dialogs.PokazInfo(QStringLiteral("Odinstalowanie przeglądarki wydruków Wenora 2001"),
                          QStringLiteral("Program Wenoglad jest zainstalowany z pakietu systemu.\r"
                                         "Usuń go poleceniem:\r\r"
                                         "sudo apt remove wenoglad\r\r"
                                         "(sudo apt purge wenoglad usuwa także wydruki z katalogu ") +
                              paths.Library + QStringLiteral(").\rOdinstalowanie niczego nie usuwa."));
    }
    return true;
}
