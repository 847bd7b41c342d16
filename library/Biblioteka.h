#pragma once
// The printout library as a folder of "<name>.wyd" files: the lines of the library window's list
// and the rules a new name must pass before a rename.
#include <QDateTime>
#include <QString>

// One line of the list: the name, a tab and the last-write time "yyyy-mm-dd hh:nn".
QString LiniaListy(const QString &nazwa, const QDateTime &czas);

// The tab stop of the date column in quarters of the list's average character width, from the
// list's width and the average character width of the surface measuring it.
int TabStopDaty(int szerokoscListy, int sredniaSzerokoscZnaku);

// The nine characters a printout's name may not contain.
inline const QString kZnakiZakazane = QStringLiteral("\\/:*?\"<>|");
inline const QString kTytulBlednejNazwy = QStringLiteral("Błędna nazwa pliku");
inline const QString kTekstBlednejNazwy =
    QStringLiteral("Nazwa pliku nie może zawierać znaków:\r\\  /  :  *  ?  \"  <  >  |");
inline const QString kTekstPustejNazwy = QStringLiteral("Nazwa nie może być pusta !");
inline const QString kTekstNazwyZKropka = QStringLiteral("Nazwa pliku nie może zaczynać się od znaku:\r.");

// Why a typed name may not become a printout's file name (one of the texts above), or an empty
// text when it may. An empty or blank name would leave a file called ".wyd", and a name beginning
// with "." a hidden file that the list never shows.
QString BladNazwy(const QString &nazwa);

// Whether nazwa + ".wyd" would take the place of an entry of katalog other than the file
// stary. Entries are compared without regard to case, so "Raport" and "RAPORT.WYD" collide.
bool NazwaZajeta(const QString &katalog, const QString &nazwa, const QString &stary);

// The rename failure message.
inline const QString kTytulBleduZmianyNazwy = QStringLiteral("Błąd - Nie można zmienić nazwy !");
QString TekstBleduZmianyNazwy(const QString &staraSciezka, const QString &nowaSciezka);

// The delete question.
inline const QString kTytulUsuniecia = QStringLiteral("Potwierdź usunięcie pliku ?");
QString TekstUsuniecia(const QString &sciezka);
