#include "chooser/Explorer.h"

#include "chooser/ExploratorGeometria.h"
#include "ui/ErrorBox.h"
#include "ui/HintBar.h"
#include "ui/bajery.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QToolButton>

namespace {

// The window's frame around its client area, on each side.
constexpr int kFrameInset = 4;

void CallEvent(const std::function<void(QObject *)> &event, QObject *sender)
{
    if (!event)
        return;
    try {
        event(sender);
    } catch (...) {
        HandleUncaughtException(std::current_exception());
    }
}

} // namespace

TExplorer::TExplorer(QObject *owner) : QObject(owner), Katalog(QDir::homePath()) {}

void TExplorer::SetWyborPliku(bool on)
{
    wyborPliku_ = on;
    if (on)
        plikiWidoczne_ = true;
    else
        wyborKatalogu_ = true;
}

void TExplorer::SetWyborKatalogu(bool on)
{
    wyborKatalogu_ = on;
    if (!on) {
        plikiWidoczne_ = true;
        wyborPliku_ = true;
        szukanie_ = false;
    }
}

void TExplorer::SetPlikiWidoczne(bool on)
{
    plikiWidoczne_ = on;
    if (!on) {
        podgladWidoczny_ = false;
        wyborPliku_ = false;
        szukanie_ = false;
        // Without a file list there is only the folder side to choose from.
        wyborKatalogu_ = true;
    }
}

void TExplorer::SetPodgladWidoczny(bool on)
{
    podgladWidoczny_ = on;
    if (on) {
        plikiWidoczne_ = true;
        wyborPliku_ = true;
    }
}

void TExplorer::SetSzukanie(bool on)
{
    szukanie_ = on;
    if (on)
        plikiWidoczne_ = true;
}

void TExplorer::SetWysokosc(int height)
{
    wysokosc_ = std::max(height, 100);
}

bool TExplorer::Execute()
{
    // Nothing here changes the process's current folder (the file search never does), so there
    // is nothing to restore afterwards.
    // The window stays above the active window; without one, above every window.
    QWidget *active =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    TExplorerDlg dlg(active);
    if (!active)
        dlg.setWindowFlag(Qt::WindowStaysOnTopHint);
    dlg.SetCaption(Caption);
    if (plikiWidoczne_)
        dlg.hb->ShowMessageText(Hint);
    dlg.OnSprawdzKatalog = OnSprawdzKatalog;
    dlg.OnDodajPlik = OnDodajPlik;
    dlg.WyborPliku = wyborPliku_;
    dlg.WyborKatalogu = wyborKatalogu_;
    dlg.PlikiWidoczne = plikiWidoczne_;
    dlg.PodgladWidoczny = podgladWidoczny_;
    dlg.files.Mask = Filtr;

    dlg.panLewy->setVisible(wyborKatalogu_);
    dlg.panPrawy->setVisible(plikiWidoczne_);
    dlg.splitImg->widget(1)->setVisible(podgladWidoczny_);
    dlg.btnSzukaj->setVisible(szukanie_);
    dlg.lb->setEnabled(wyborPliku_);
    dlg.UstawTabulator(ExplorerTabStopUnits(SzerPlikow, SzerOpisow));
    QPalette palette = dlg.lb->palette();
    if (wyborPliku_) {
        palette.setColor(QPalette::Base, palette.color(QPalette::Active, QPalette::Base));
        dlg.lb->setSelectionMode(MultiWybor ? QAbstractItemView::ExtendedSelection
                                            : QAbstractItemView::SingleSelection);
        dlg.lblPliki->setText(MultiWybor ? QStringLiteral(" &Zaznacz pliki:") : QStringLiteral(" &Zaznacz plik:"));
    } else {
        palette.setColor(QPalette::Base, palette.color(QPalette::Active, QPalette::Button));
        palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Active, QPalette::Button));
        dlg.lb->setSelectionMode(QAbstractItemView::NoSelection);
        dlg.lblPliki->setText(QStringLiteral(" Lista plików w katalogu:"));
    }
    dlg.lb->setPalette(palette);

    const int width = ExplorerClientWidth(wyborKatalogu_, plikiWidoczne_, SzerPlikow) + 2 * kFrameInset;
    dlg.SetMinWidth(width);
    dlg.SetMaxWidth(width);
    dlg.SetMinHeight(wysokosc_);
    dlg.SetMaxHeight(wysokosc_);
    dlg.Center(width, wysokosc_);

    if (!KatalogSciezka.isEmpty() && QFile::decodeName(KatalogSciezka) == Katalog)
        dlg.UstawKatalog(KatalogSciezka);
    else
        dlg.UstawKatalog(Katalog);

    CallEvent(BeforeExecute, &dlg);
    const bool accepted = dlg.exec() == QDialog::Accepted;
    CallEvent(AfterExecute, &dlg);

    if (accepted) {
        Katalog = dlg.WybranyKatalog();
        KatalogSciezka = dlg.WybranyKatalogSciezka();
        if (wyborPliku_) {
            const QListWidgetItem *current = dlg.lb->currentItem();
            const QByteArray path = TExplorerDlg::PlikLinii(current);
            Plik = QFile::decodeName(path);
            PlikSciezka = path.toStdString();
        }
        if (wyborPliku_ && MultiWybor) {
            Pliki.clear();
            PlikiSciezki.clear();
            for (int i = 0; i < dlg.lb->count(); ++i) {
                const QListWidgetItem *item = dlg.lb->item(i);
                if (!item->isSelected())
                    continue;
                const QByteArray path = TExplorerDlg::PlikLinii(item);
                Pliki << QFile::decodeName(path);
                PlikiSciezki.emplace_back(path.toStdString());
            }
        }
    }
    return accepted;
}
