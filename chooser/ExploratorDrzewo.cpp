// TExplorerDlg: the list of places and the folder tree, loaded one level at a time.
#include "chooser/explorator.h"

#include "ui/BusyCursor.h"
#include "ui/okienko.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <filesystem>
#include <sys/stat.h>

namespace {

// The folder pictures: closed, and open for the selected node.
QPixmap FolderPicture(bool open)
{
    QPixmap pix(16, 13);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(QColor(128, 128, 0));
    p.setBrush(QColor(255, 255, 128));
    p.drawRect(1, 1, 6, 2);
    if (open) {
        p.drawRect(1, 3, 12, 8);
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(QPolygon({QPoint(3, 6), QPoint(15, 6), QPoint(13, 11), QPoint(1, 11)}));
    } else {
        p.drawRect(1, 3, 13, 8);
    }
    return pix;
}

const QIcon &FolderIcon()
{
    static const QIcon icon = [] {
        QIcon i;
        i.addPixmap(FolderPicture(false), QIcon::Normal);
        i.addPixmap(FolderPicture(true), QIcon::Selected);
        return i;
    }();
    return icon;
}

// A node's folder name as the system holds it; its text only shows it.
constexpr int kNameRole = Qt::UserRole + 1;

bool IsFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

// The mount point of the node's root and the real names of the nodes below it joined with "/",
// ending with "/".
QByteArray NodePath(const QTreeWidgetItem *node)
{
    QList<QByteArray> names;
    for (; node->parent(); node = node->parent())
        names.prepend(node->data(0, kNameRole).toByteArray());
    QByteArray path = QFile::encodeName(node->data(0, Qt::UserRole).toString());
    if (!path.endsWith('/'))
        path += '/';
    for (const QByteArray &name : names)
        path += name + '/';
    return path;
}

} // namespace

void TExplorerDlg::UstawMiejsca(std::vector<TExplorerPlace> places, const QString &keep)
{
    places_ = std::move(places);
    const QSignalBlocker quiet(drives);
    drives->clear();
    for (const TExplorerPlace &place : places_)
        drives->addItem(place.Name);
    int index = 0;
    for (size_t i = 0; i < places_.size(); ++i) {
        if (places_[i].MountPoint == keep)
            index = int(i);
    }
    drives->setCurrentIndex(index);
}

QString TExplorerDlg::WybranyKatalog() const
{
    return QFile::decodeName(WybranyKatalogSciezka());
}

QByteArray TExplorerDlg::WybranyKatalogSciezka() const
{
    const QTreeWidgetItem *node = tree->currentItem();
    return node ? NodePath(node) : QByteArray();
}

void TExplorerDlg::UstawKatalog(const QString &path)
{
    UstawKatalog(QFile::encodeName(path));
}

void TExplorerDlg::UstawKatalog(const QByteArray &path)
{
    QByteArray native = path;
    struct stat st {};
    if (native.isEmpty() || ::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        native = QFile::encodeName(QDir::homePath());
    // Absolute and without "." or "..", but never changed in case: the names are the system's.
    native = QByteArray::fromStdString(std::filesystem::absolute(native.toStdString()).lexically_normal().native());
    while (native.size() > 1 && native.endsWith('/'))
        native.chop(1);
    const QString folder = QFile::decodeName(native);
    const int place = ExplorerPlaceOf(places_, folder);
    {
        const QSignalBlocker quiet(drives);
        drives->setCurrentIndex(place);
    }
    drivesChange();
    const QString root = places_[size_t(place)].MountPoint;
    const QByteArray rest = native.mid(QFile::encodeName(root).size());
    QTreeWidgetItem *node = tree->topLevelItem(0);
    // A place that is not ready, and was not retried, leaves the tree on another place.
    if (!node || node->data(0, Qt::UserRole).toString() != root)
        return;
    // The folders passed on the way down are not listed; only the one reached is.
    QTreeWidgetItem *const listed = tree->currentItem();
    walking_ = true;
    tree->setCurrentItem(node);
    for (const QByteArray &name : rest.split('/')) {
        if (name.isEmpty())
            continue;
        tree->expandItem(node);
        QTreeWidgetItem *match = nullptr;
        for (int i = 0; i < node->childCount() && !match; ++i) {
            if (node->child(i)->data(0, kNameRole).toByteArray() == name)
                match = node->child(i);
        }
        if (!match)
            break;
        node = match;
        tree->setCurrentItem(node);
    }
    tree->expandItem(node);
    tree->scrollToItem(node);
    walking_ = false;
    if (tree->currentItem() != listed)
        treeChange();
}

void TExplorerDlg::drivesChange()
{
    const int index = drives->currentIndex();
    if (index < 0 || size_t(index) >= places_.size())
        return;
    const QString root = places_[size_t(index)].MountPoint;
    if (tree->topLevelItemCount() > 0 && tree->topLevelItem(0)->data(0, Qt::UserRole).toString() == root)
        return;
    while (!IsFolder(root)) {
        if (!PytaniePowtorzAnuluj(QStringLiteral("Błąd"), QStringLiteral("Błąd przy odczycie dysku ") + root + ":")) {
            if (tree->currentItem()) {
                const QSignalBlocker quiet(drives);
                drives->setCurrentIndex(ExplorerPlaceOf(places_, WybranyKatalog()));
            }
            return;
        }
    }
    QTreeWidgetItem *node = nullptr;
    {
        const QSignalBlocker quiet(tree);
        tree->clear();
        node = NowyWezel(nullptr, QFile::encodeName(root), true);
        node->setData(0, Qt::UserRole, root);
    }
    tree->setCurrentItem(node);
    tree->expandItem(node);
}

QTreeWidgetItem *TExplorerDlg::NowyWezel(QTreeWidgetItem *parent, const QByteArray &name, bool placeholder)
{
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    node->setText(0, QFile::decodeName(name));
    node->setData(0, kNameRole, name);
    node->setIcon(0, FolderIcon());
    if (placeholder)
        new QTreeWidgetItem(node);
    return node;
}

bool TExplorerDlg::MaPodkatalog(const QByteArray &folder)
{
    bool found = false;
    dirs2.Directory = QFile::decodeName(folder);
    dirs2.NativeDirectory = folder;
    dirs2.OnAddFile = [&found](const TFileObj &, bool &accept, bool &stop) {
        found = true;
        accept = false;
        stop = true;
    };
    try {
        dirs2.Execute();
    } catch (const EFindFilesError &) {
        return false; // a folder that cannot be entered shows no subfolders
    }
    return found;
}

void TExplorerDlg::treeExpanding(QTreeWidgetItem *node)
{
    if (node->childCount() == 0 || !node->child(0)->text(0).isEmpty())
        return;
    TBusyCursorGuard busy;
    tree->setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this] { tree->setUpdatesEnabled(true); });
    const QSignalBlocker quiet(tree);
    qDeleteAll(node->takeChildren());
    const QByteArray folder = NodePath(node);
    dirs.Directory = QFile::decodeName(folder);
    dirs.NativeDirectory = folder;
    try {
        dirs.Execute();
    } catch (const EFindFilesError &) {
        // A folder that cannot be listed simply shows no subfolders.
    }
    dirs.Files.Sort(TFileList::SortByNameNoCase);
    for (const TFileObj &sub : dirs.Files)
        NowyWezel(node, sub.NativeName, MaPodkatalog(sub.NativeFullName()));
}
