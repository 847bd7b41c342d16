// TExplorerDlg: the file list of the selected folder, the search below it and the picture preview.
#include "library/explorator.h"

#include "library/ExplorerGeometry.h"
#include "platform/base/Exception.h"
#include "platform/base/NativePath.h"
#include "ui/BusyCursor.h"
#include "ui/KrokKomunikatow.h"
#include "ui/SearchAnimation.h"
#include "ui/bajery.h"
#include "ui/okienko.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QScopeGuard>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kPathRole = Qt::UserRole;

// A line of the list: the name, and after the tab its description, which starts at the tab stop.
class TLineDelegate : public QStyledItemDelegate {
public:
    TLineDelegate(const int &tabStop, QObject *parent) : QStyledItemDelegate(parent), tabStop_(tabStop) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString line = opt.text;
        opt.text.clear();
        const QWidget *widget = opt.widget;
        widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const qsizetype tab = line.indexOf(u'\t');
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(
            opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                              opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect r = opt.rect.adjusted(2, 0, 0, 0);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        painter->drawText(r, flags, tab < 0 ? line : line.left(tab));
        if (tab >= 0)
            painter->drawText(r.adjusted(tabStop_, 0, 0, 0), flags, line.mid(tab + 1));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // At least the designed 16 pixels, but never less than the font's line, whose descenders
        // and underscores would be cut.
        return {QStyledItemDelegate::sizeHint(option, index).width(), std::max(16, option.fontMetrics.height() + 2)};
    }

private:
    const int &tabStop_;
};

bool LineLess(const QString &a, const QString &b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

} // namespace

void TExplorerDlg::UstawTabulator(int units)
{
    tabStop_ = ExplorerTabStopPixels(units);
    if (!lb->itemDelegate() || !dynamic_cast<TLineDelegate *>(lb->itemDelegate()))
        lb->setItemDelegate(new TLineDelegate(tabStop_, lb));
    lb->viewport()->update();
}

QByteArray TExplorerDlg::PlikLinii(const QListWidgetItem *item)
{
    return item ? item->data(kPathRole).toByteArray() : QByteArray();
}

void TExplorerDlg::filesAddFile(const TFileObj &file, bool &accept)
{
    QString opis;
    if (OnDodajPlik)
        OnDodajPlik(file.NativeFullName().toStdString(), opis, accept);
    if (accept)
        linie_.push_back({file.RelName() + u'\t' + opis, file.NativeFullName()});
}

void TExplorerDlg::WstawLinie()
{
    std::sort(linie_.begin(), linie_.end(), [](const Linia &a, const Linia &b) { return LineLess(a.tekst, b.tekst); });
    for (Linia &linia : linie_) {
        auto *item = new QListWidgetItem(linia.tekst);
        item->setData(kPathRole, linia.sciezka);
        lb->addItem(item);
    }
    linie_.clear();
}

void TExplorerDlg::WybierzPierwsza()
{
    if (WyborPliku && lb->count() > 0)
        lb->setCurrentRow(0);
    else
        lb->setCurrentRow(-1);
    lbClick();
}

void TExplorerDlg::treeChange()
{
    if (!PlikiWidoczne || searching_ || walking_)
        return;
    {
        TBusyCursorGuard busy;
        // The lines are collected first and put into the list at once, sorted.
        const auto restore = qScopeGuard([this] { linie_.clear(); });
        lb->clear();
        const QString folder = WybranyKatalog();
        if (folder.isEmpty())
            return;
        files.Directory = folder;
        files.NativeDirectory = WybranyKatalogSciezka();
        files.Recurse = false;
        try {
            files.Execute();
        } catch (const EFindFilesError &) {
            PokazBlad(QStringLiteral("Błąd !"), QStringLiteral("Brak dostępu do katalogu: \r") + folder);
        }
        WstawLinie();
    }
    WybierzPierwsza();
}

void TExplorerDlg::filesProgress(int progress, const QString &dir, bool &stop)
{
    pbSzukanie->setValue(progress);
    lblSzukKat->setText(dir);
    KrokKomunikatow();
    stop = stop_;
}

void TExplorerDlg::btnSzukajClick()
{
    const QString folder = WybranyKatalog();
    if (searching_ || folder.isEmpty())
        return;
    bool stopped = false;
    {
        TBusyCursorGuard busy(true);
        searching_ = true;
        stop_ = false;
        UstawDostepnosc();
        const auto restore = qScopeGuard([this] {
            linie_.clear();
            panSzukanie->hide();
            Animate1->Stop();
            searching_ = false;
            UstawDostepnosc();
        });
        panSzukanie->move((width() - panSzukanie->width()) / 2, (height() - panSzukanie->height()) / 2);
        Animate1->Start();
        lblSzukKat->clear();
        pbSzukanie->setValue(0);
        panSzukanie->raise();
        panSzukanie->show();

        lb->clear();
        files.Directory = folder;
        files.NativeDirectory = WybranyKatalogSciezka();
        files.Recurse = true;
        try {
            stopped = !files.Execute();
        } catch (const EFindFilesError &) {
            PokazBlad(QStringLiteral("Błąd !"), QStringLiteral("Brak dostępu do katalogu: \r") + folder);
        }
        files.Recurse = false;
        WstawLinie();
        if (!stopped && lb->count() == 0)
            PokazBlad(QStringLiteral("Nie znaleziono"),
                      QStringLiteral("Nie znalazłem w tym katalogu i jego podkatalogach żadnego pliku"));
    }
    if (!stopped)
        WybierzPierwsza();
    else
        lbClick();
}

void TExplorerDlg::lbClick()
{
    if (!PodgladWidoczny)
        return;
    TBusyCursorGuard busy;
    img->clear();
    img->hide();
    const QListWidgetItem *item = lb->currentItem();
    if (!item || !item->isSelected())
        return;
    const QByteArray path = PlikLinii(item);
    QFile file;
    try {
        if (!platform::OpenForReading(file, path.toStdString()))
            return;
    } catch (const platform::ENotARegularFile &) {
        return; // a pipe or a device is no picture
    }
    // The file type is told by the name's extension, as for any picture the user opens.
    QImageReader reader(&file, QFileInfo(QFile::decodeName(path)).suffix().toLower().toLatin1());
    const QImage picture = reader.read();
    if (picture.isNull())
        return;
    img->setPixmap(QPixmap::fromImage(picture));
    panImgResize();
}

void TExplorerDlg::panImgResize()
{
    if (!PodgladWidoczny)
        return;
    const QPixmap picture = img->pixmap();
    const QRect fit = ExplorerPictureFit(picture.size(), panImg->size());
    if (fit.isEmpty())
        return;
    img->setGeometry(fit);
    img->show();
}
