#include "library/RozmowaOkna.h"

#include "ui/ErrorBox.h"
#include "ui/okienko.h"

#include <QApplication>
#include <QWidget>

bool TRozmowaOkna::PytanieTakNie(const QString &tytul, const QString &tekst)
{
    return ::PytanieTakNie(tytul, tekst);
}

void TRozmowaOkna::PokazBlad(const QString &tytul, const QString &tekst)
{
    ::PokazBlad(tytul, tekst);
}

void TRozmowaOkna::PokazBladAplikacji(const QString &komunikat)
{
    ShowErrorBox(komunikat);
}

void TRozmowaOkna::Postep(const QString &sciezka)
{
    if (working_)
        working_->UstawOpis(sciezka);
}

void TRozmowaOkna::Odmaluj()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (w->isVisible())
            w->repaint();
}
