#pragma once
// The product's help page: pomoc.html beside the program file, opened in the default browser.
#include <QString>
#include <QUrl>

// Where the help page lies: KatalogProgramu() + "pomoc.html".
QUrl AdresPomocy();

// "F1 - " followed by the help address, for the hint bars' help hints.
QString PodpowiedzPomocy();

// Opens the help page with the desktop's handler for it; false when that failed.
bool OtworzPomoc();
