#pragma once
// The product's help page: pomoc.html beside the program file, opened in the default browser.
#include <QString>
#include <QUrl>

// Where the help page lies: KatalogProgramu() + "pomoc.html".
QUrl AdresPomocy();

// "F1 - " followed by the help address, for the hint bars' help hints.
QString PodpowiedzPomocy();

// Opens the help page with the desktop's handler for it; false when the page is missing or no
// handler could be started.
bool OtworzPomoc();

// The help key's action: opens the help page, or says in the standard error box that it could
// not, with the page's path ("Nie można otworzyć pomocy: <path>").
void PokazPomoc();
