#pragma once
// The program's entry decisions: which run the first command-line argument asks for, the main
// window's start-up state and the process-wide formats.
#include "library/StanStartowy.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// The application's title: the task-bar entry and the standard error box.
inline const QString kTytulAplikacji = QStringLiteral("Wenoglad");

// The run the first argument chooses. Only exactly "INST" and "UNINST" (case included) choose the
// install and uninstall runs; anything else, or nothing, runs the viewer.
enum class TRodzajUruchomienia { Przegladarka, Instaluj, Odinstaluj };
TRodzajUruchomienia RodzajUruchomienia(const QString &pierwszyArgument);

// The yes/no question (title, text) -> answer.
using TPytanieTakNie = std::function<bool(const QString &title, const QString &text)>;

// The copy question about a file named on the command line.
QString TytulPytaniaOKopie(const QString &argument);
QString TrescPytaniaOKopie(const QString &katalog);

// Decides the start-up state from the first argument (empty when there is none). "TEMP" gives the
// temporary mode. An existing file inside katalog (the library, ending with "/") opens directly;
// any other existing file is offered for copying with pytanie. The comparison with the library is
// textual, without regard to case. Other arguments are ignored.
TStanStartowy StanStartowy(const QString &pierwszyArgument, const QString &katalog, const TPytanieTakNie &pytanie);

// The same for this process: its first argument, KatalogProgramu() and the program's message box.
TStanStartowy StanStartowyProgramu(const QString &pierwszyArgument);

// Number and date formats fixed for the whole run, whatever the desktop's regional settings.
struct TFormatyProcesu {
    QChar ThousandSeparator = QLatin1Char(' ');
    QChar DecimalSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('-');
    QString ShortDateFormat = QStringLiteral("dd-MM-yyyy");
    QString LongDateFormat = QStringLiteral("dd-MM-yyyy hh:mm:ss");
};
const TFormatyProcesu &FormatyProcesu();
// Fixes the formats above and makes Polish the default locale of the run.
void UstawFormatyProcesu();

// A number with the thousands and decimal separators above; decimals digits after the separator.
QString FormatujLiczbe(double value, int decimals = 0);
QString FormatujDateKrotko(const QDate &date);
QString FormatujDateDlugo(const QDateTime &dateTime);
