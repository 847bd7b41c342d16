#include "chooser/ExploratorMiejsca.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace {

bool Below(const QString &path, const QString &folder)
{
    return path == folder || folder == u'/' || path.startsWith(folder + u'/');
}

} // namespace

bool ExplorerUserVolume(const QString &rootPath, const QByteArray &fsType)
{
    static const QByteArray network[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p", "afs", "ncpfs"};
    // File systems that live in memory or show the kernel's state, wherever they are mounted.
    static const QByteArray pseudo[] = {"tmpfs",   "ramfs",      "proc",    "sysfs",    "devtmpfs", "devpts",
                                        "cgroup",  "cgroup2",    "overlay", "squashfs", "autofs",   "debugfs",
                                        "tracefs", "securityfs", "pstore",  "bpf",      "mqueue",   "hugetlbfs"};
    if (std::find(std::begin(pseudo), std::end(pseudo), fsType) != std::end(pseudo))
        return false;
    if (std::find(std::begin(network), std::end(network), fsType) != std::end(network))
        return rootPath != u'/';
    // Media the desktop mounts for the user, and the place disks are mounted by hand.
    for (const char *media : {"/media", "/run/media", "/mnt"}) {
        const QString folder = QString::fromLatin1(media);
        if (rootPath != folder && Below(rootPath, folder))
            return true;
    }
    return false;
}

std::vector<TExplorerPlace> ExplorerPlaces()
{
    std::vector<TExplorerPlace> places{{QStringLiteral("/ (system plików)"), QStringLiteral("/")}};
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home != u'/')
        places.push_back({QStringLiteral("~ (katalog domowy)"), home});
    std::vector<TExplorerPlace> volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = QDir::cleanPath(volume.rootPath());
        if (!volume.isValid() || !volume.isReady() || root == home ||
            !ExplorerUserVolume(root, volume.fileSystemType()))
            continue;
        const QString name = volume.displayName() == root ? root : volume.displayName() + " (" + root + ")";
        volumes.push_back({name, root});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const TExplorerPlace &a, const TExplorerPlace &b) { return a.MountPoint < b.MountPoint; });
    places.insert(places.end(), volumes.begin(), volumes.end());
    return places;
}

int ExplorerPlaceOf(const std::vector<TExplorerPlace> &places, const QString &path)
{
    int best = 0;
    for (int i = 0; i < int(places.size()); ++i) {
        if (Below(path, places[size_t(i)].MountPoint) &&
            places[size_t(i)].MountPoint.size() > places[size_t(best)].MountPoint.size())
            best = i;
    }
    return best;
}
