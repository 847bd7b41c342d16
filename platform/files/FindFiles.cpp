#include "platform/files/FindFiles.h"

#include "platform/files/FileMask.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const QChar kQuote = u'"';

// One entry of a folder as the system reports it, before the masks are applied. Its kind comes
// from the folder listing; the rest of the system's information is read only for the entries that
// need it (those the masks let through, and folders), so a search does not stat every file.
struct FolderEntry {
    QByteArray raw;
    QString name;
    TFileAttrs attr;
    time_t mtime = 0;
    qint32 size = 0;
    std::pair<dev_t, ino_t> id;
    bool complete = false;
};

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};

TFileAttrs AttributesOf(const QString &name, const struct stat &st)
{
    TFileAttrs attr;
    if (!(st.st_mode & S_IWUSR))
        attr |= TFileAttr::ReadOnly;
    if (S_ISREG(st.st_mode))
        attr |= TFileAttr::Archive;
    else if (S_ISDIR(st.st_mode))
        attr |= TFileAttr::Directory;
    else
        attr |= TFileAttr::System;
    if (name.startsWith(u'.'))
        attr |= TFileAttr::Hidden;
    return attr;
}

// Local last-write time cut to whole two seconds, as a packed DOS date-time keeps it.
QDateTime TimeOf(time_t mtime)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(mtime);
    return local.addSecs(-(local.time().second() % 2));
}

// Sizes beyond 32 bits are held at the largest 32-bit value rather than wrapping to nonsense.
qint32 SizeOf(const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return 0;
    return static_cast<qint32>(std::min<off_t>(st.st_size, std::numeric_limits<qint32>::max()));
}

// Fills in what the listing does not tell; false when the entry is gone.
bool Complete(int fd, FolderEntry &e)
{
    if (e.complete)
        return true;
    struct stat st {};
    // A link is seen as what it points to; a dangling one as the link itself.
    if (fstatat(fd, e.raw.constData(), &st, 0) != 0 && fstatat(fd, e.raw.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    e.attr = AttributesOf(e.name, st);
    e.mtime = st.st_mtim.tv_sec;
    e.size = SizeOf(st);
    e.id = {st.st_dev, st.st_ino};
    e.complete = true;
    return true;
}

// A folder being read: kept open so that its entries can be completed by name.
struct Folder {
    std::unique_ptr<DIR, DirCloser> dir;
    std::vector<FolderEntry> entries;
    int Fd() const { return dir ? dirfd(dir.get()) : -1; }
};

// The entries of a folder without "." and "..", in name order ignoring case (the order an NTFS
// listing has, and one that does not depend on the file system); nothing when it cannot be read.
// Folders, links and entries of unknown kind are completed at once; files and other kinds later.
Folder ReadFolder(const QByteArray &path)
{
    Folder folder;
    folder.dir.reset(opendir(path.constData()));
    if (!folder.dir)
        return folder;
    const int fd = folder.Fd();
    while (const dirent *d = readdir(folder.dir.get())) {
        const QByteArray raw(d->d_name);
        if (raw == "." || raw == "..")
            continue;
        FolderEntry e{raw, QFile::decodeName(raw), {}, 0, 0, {}, false};
        if (d->d_type == DT_REG)
            e.attr = TFileAttr::Archive;
        else if (d->d_type == DT_FIFO || d->d_type == DT_SOCK || d->d_type == DT_CHR || d->d_type == DT_BLK)
            e.attr = TFileAttr::System;
        else if (!Complete(fd, e))
            continue; // removed while we read
        if (e.name.startsWith(u'.'))
            e.attr |= TFileAttr::Hidden;
        folder.entries.push_back(std::move(e));
    }
    std::sort(folder.entries.begin(), folder.entries.end(), [](const FolderEntry &a, const FolderEntry &b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return folder;
}

// What the system's find-first would need to be allowed to chdir into the folder.
bool CanEnter(const QByteArray &native, std::pair<dev_t, ino_t> &id)
{
    struct stat st {};
    if (stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || access(native.constData(), X_OK) != 0)
        return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

// Percent of queued folders already visited, rounded to the nearest with halves to the even one.
int Percent(qsizetype done, qsizetype total)
{
    const qint64 n = qint64(done) * 100, q = n / total, r2 = 2 * (n % total);
    return int(q + ((r2 > total || (r2 == total && (q & 1))) ? 1 : 0));
}

void SplitName(const QString &fileName, QString &name, QString &ext)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    name = dot < 0 ? fileName : fileName.left(dot);
    ext = dot < 0 ? QString() : fileName.mid(dot);
}

} // namespace

bool TFindFiles::Execute()
{
    Files.Clear();
    if (Directory.isEmpty() && NativeDirectory.isEmpty())
        throw EFindFilesError(QStringLiteral("Missing ") + kQuote + "Directory" + kQuote + " property");
    if (Mask.isEmpty())
        throw EFindFilesError(QStringLiteral("Missing ") + kQuote + "Mask" + kQuote + " property");

    // Attributes that let an entry through; hidden, system and folder entries need theirs here.
    TFileAttrs allowed, required;
    const std::pair<TFindMode, TFileAttr> modes[] = {{aReadOnly, TFileAttr::ReadOnly},
                                                     {aArchive, TFileAttr::Archive},
                                                     {aSystem, TFileAttr::System},
                                                     {aHidden, TFileAttr::Hidden},
                                                     {aDirectory, TFileAttr::Directory}};
    for (const auto &[mode, attr] : modes) {
        if (mode != TFindMode::fmNo)
            allowed |= attr;
        if (mode == TFindMode::fmYes)
            required |= attr;
    }
    if (!allowed)
        return true;
    const TFileAttrs heldBack = (TFileAttr::System | TFileAttr::Hidden | TFileAttr::Directory) & ~allowed;

    // The folders are walked by their bytes; the text of a path is only for showing.
    const QByteArray directory = NativeDirectory.isEmpty() ? QFile::encodeName(Directory) : NativeDirectory;
    std::pair<dev_t, ino_t> rootId;
    std::error_code absolute;
    QByteArray nativeRoot = QByteArray::fromStdString(
        std::filesystem::absolute(directory.toStdString(), absolute).lexically_normal().native());
    if (!CanEnter(directory, rootId) || absolute)
        throw EFindFilesError(QStringLiteral("Can not access the directory ") + kQuote + QFile::decodeName(directory) +
                              kQuote + ".");
    if (!nativeRoot.endsWith('/'))
        nativeRoot += '/';
    const QString root = QFile::decodeName(nativeRoot);

    const QStringList masks = Mask.split(u';');
    QList<QByteArray> queue{nativeRoot};
    // Folders already queued, so that a link back up the tree is not searched for ever.
    std::set<std::pair<dev_t, ino_t>> queued{rootId};
    int best = 0;

    for (qsizetype i = 0; i < queue.size(); ++i) {
        const QByteArray dir = queue[i];
        if (Recurse && OnProgress) {
            best = std::max(best, Percent(i, queue.size()));
            bool stop = false;
            OnProgress(best, QFile::decodeName(dir), stop);
            if (stop)
                return false;
        }
        const QByteArray nativeDir = dir.endsWith('/') ? dir : dir + '/';
        const QString subDir = i == 0 ? QString() : QFile::decodeName(nativeDir.mid(nativeRoot.size()));
        Folder folder = ReadFolder(dir);
        std::vector<FolderEntry> &entries = folder.entries;
        const bool readOnlyNeeded = required.testFlag(TFileAttr::ReadOnly);

        for (const QString &mask : masks) {
            for (FolderEntry &e : entries) {
                if ((e.attr & heldBack) || (readOnlyNeeded && !Complete(folder.Fd(), e)) ||
                    (e.attr & required) != required || !MaskMatches(mask, e.name) || !Complete(folder.Fd(), e))
                    continue;
                TFileObj file;
                file.RootDir = root;
                file.SubDir = subDir;
                SplitName(e.name, file.Name, file.Ext);
                file.NativeName = e.raw;
                file.NativeDir = nativeDir;
                file.Attr = e.attr;
                file.Time = TimeOf(e.mtime);
                file.Size = e.size;
                bool accept = true, stop = false;
                if (OnAddFile) {
                    try {
                        OnAddFile(file, accept, stop);
                    } catch (const Exception &) {
                        accept = false; // a failing handler drops the entry, the search goes on
                    }
                }
                if (accept)
                    Files.Add(std::move(file));
                if (stop)
                    return false;
            }
        }

        if (Recurse) {
            for (const FolderEntry &e : entries) {
                if (e.attr.testFlag(TFileAttr::Directory) && queued.insert(e.id).second)
                    queue.append(nativeDir + e.raw);
            }
        }
    }

    if (Recurse && OnProgress) {
        bool stop = false;
        OnProgress(100, QString(), stop);
    }
    return true;
}
