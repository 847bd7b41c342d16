// TExplorerDlg: the file list of the selected folder, the search below it and the picture preview.
#include "chooser/explorator.h"

#include "chooser/ExploratorGeometria.h"
#include "platform/base/Exception.h"
#include "platform/base/NativePath.h"
#include "ui/BusyCursor.h"
#include "ui/KrokKomunikatow.h"
#include "ui/SearchAnimation.h"
#include "ui/TabStopDelegate.h"
#include "ui/bajery.h"
#include "ui/okienko.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QScopeGuard>

#include <algorithm>

namespace {

constexpr int kPathRole = Qt::UserRole;

bool LineLess(const QString &a, const QString &b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

} // namespace

void TExplorerDlg::UstawTabulator(int units)
{
    lineDelegate_->SetTabStop(ExplorerTabStopPixels(units));
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
