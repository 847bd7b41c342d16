#include "cli/CliPrintHost.h"

#include "cli/BuildPrintout.h"

#include "platform/base/Exception.h"

#include <cstdio>

#include <unistd.h>

bool TCliPrintHost::CanTurnSheets()
{
    return isatty(STDIN_FILENO) == 1;
}

bool TCliPrintHost::PytanieTakNie(const QString &title, const QString &text)
{
    // After a stop no further copy is begun, nor a long booklet confirmed.
    PrintError(title + QLatin1Char('\n') + text + (stopped_ ? QStringLiteral("\n-> Nie") : QStringLiteral("\n-> Tak")));
    return !stopped_;
}

bool TCliPrintHost::PytanieOkAnuluj(const QString &title, const QString &text)
{
    PrintError(title + QLatin1Char('\n') + text);
    if (!CanTurnSheets()) {
        PrintError(QStringLiteral("-> Anuluj (standardowe wejście nie jest terminalem)"));
        stopped_ = true;
        return false;
    }
    PrintError(QStringLiteral("Naciśnij Enter, aby drukować dalej, albo Ctrl+D, aby przerwać."));
    // Anything up to the end of the line is the answer "Ok"; the end of input is "Anuluj".
    for (int c = std::getchar(); c != '\n'; c = std::getchar())
        if (c == EOF) {
            PrintError(QStringLiteral("-> Drukowanie przerwane."));
            stopped_ = true;
            return false;
        }
    return true;
}

void TCliPrintHost::Ostrzezenie(const QString &text)
{
    PrintError(QStringLiteral("Uwaga: ") + text);
}

void TCliPrintHost::ShowException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EAbort &) {
        failed_ = true;
    } catch (const Exception &e) {
        PrintError(e.Message());
        failed_ = true;
    } catch (const std::exception &e) {
        PrintError(QString::fromLocal8Bit(e.what()));
        failed_ = true;
    }
}
