#pragma once
// The chooser's "drives": the places a Linux user starts from. The file system root, the home
// folder and every mounted volume a user puts files on (removable media, other disks mounted by
// hand, network shares); system and pseudo file systems are left out.
#include <QString>

#include <vector>

struct TExplorerPlace {
    QString Name;       // as the drive list shows it
    QString MountPoint; // absolute, without a trailing "/" except for the root itself
};

// Whether a mounted volume at rootPath of file system type fsType is one a user chooses files on.
bool ExplorerUserVolume(const QString &rootPath, const QByteArray &fsType);

// The root, the home folder, then the ready user volumes in mount-point order.
std::vector<TExplorerPlace> ExplorerPlaces();

// The index of the place holding path: the one with the longest mount point that contains it.
int ExplorerPlaceOf(const std::vector<TExplorerPlace> &places, const QString &path);
