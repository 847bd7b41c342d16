#include "ui/okienko.h"

#include "ui/SearchAnimation.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

TWorkingDlg::TWorkingDlg(QObject *owner) : QObject(owner) {}

TWorkingDlg::~TWorkingDlg()
{
    Ukryj();
}

void TWorkingDlg::SetProgressMax(int max)
{
    progressMax_ = max;
    if (okno_)
        okno_->pbar->setRange(0, 100);
}

void TWorkingDlg::Pokaz()
{
    Ukryj();
    // Whatever window is active now stays active: the wait window never takes the focus.
    QPointer<QWidget> wasActive = QApplication::activeWindow();
    auto *okno = new TMsgOkienko(true);
    okno_ = okno;
    okno->pbar->setRange(0, ZipAllSize32k > 0 ? ZipAllSize32k : 100);
    okno->pbar->setValue(0);
    units_ = 0;

    okno->panLewy->hide();
    okno->panPrawy->hide();
    okno->panBtns->hide();
    okno->panPostep->setVisible(JestPostepLbl || JestPostepBar);
    okno->panPostep2->setVisible(JestPostepLbl2);
    okno->lblPostep->setVisible(JestPostepLbl);
    okno->pbar->setVisible(JestPostepBar);
    const QFontMetrics fm(okno->lblPostep->font());
    okno->lblPostep->resize(ZipAllSize32k > 0 ? fm.horizontalAdvance(QString(11, QLatin1Char('W'))) : 150,
                            okno->lblPostep->height());
    okno->ani->show();
    okno->ani->Start();

    okno->setWindowTitle(Caption);
    okno->SetText(Tekst);
    okno->lblPostep->clear();

    const auto *ownerWidget = qobject_cast<const QWidget *>(parent());
    const QWidget *ownerWindow = ownerWidget ? ownerWidget->window() : nullptr;
    if (!ScreenCenter && ownerWindow)
        okno->SetCentreOver(QRect(ownerWindow->mapToGlobal(QPoint(0, 0)), ownerWindow->size()));

    okno->show();
    okno->repaint();
    if (wasActive && QApplication::activeWindow() != wasActive)
        wasActive->activateWindow();
}

void TWorkingDlg::PokazTekst(const QString &text, bool withLabel, bool withBar)
{
    Tekst = text;
    JestPostepLbl = withLabel;
    JestPostepBar = withBar;
    Pokaz();
}

void TWorkingDlg::Ukryj()
{
    delete okno_.data();
    okno_.clear();
}

void TWorkingDlg::UstawOpis(const QString &text)
{
    if (okno_)
        okno_->lblPostep->setText(QLatin1Char(' ') + text + QStringLiteral("  "));
}

void TWorkingDlg::UstawOpis2(const QString &text)
{
    if (okno_)
        okno_->lblPostep2->setText(QLatin1Char(' ') + text + QStringLiteral("  "));
}

void TWorkingDlg::SetBar(long long units)
{
    units_ = units;
    const long long percent = units * 100 / progressMax_;
    okno_->pbar->setValue(int(std::clamp<long long>(percent, okno_->pbar->minimum(), okno_->pbar->maximum())));
}

void TWorkingDlg::UstawPozycje(int n)
{
    if (okno_ && progressMax_ != 0)
        SetBar(n);
}

void TWorkingDlg::Krok()
{
    if (okno_ && progressMax_ != 0)
        SetBar(units_ + 1);
}

int TWorkingDlg::Pozycja() const
{
    return okno_ ? okno_->pbar->value() : -1;
}
