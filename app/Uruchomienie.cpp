#include "app/Uruchomienie.h"

#include "platform/base/KatalogProgramu.h"
#include "ui/okienko.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

TRodzajUruchomienia RodzajUruchomienia(const QString &pierwszyArgument)
{
    if (pierwszyArgument == QLatin1String("INST"))
        return TRodzajUruchomienia::Instaluj;
    if (pierwszyArgument == QLatin1String("UNINST"))
        return TRodzajUruchomienia::Odinstaluj;
    return TRodzajUruchomienia::Przegladarka;
}

QString TytulPytaniaOKopie(const QString &argument)
{
    return QStringLiteral("Wenoglad - ") + argument;
}

QString TrescPytaniaOKopie(const QString &katalog)
{
    return QStringLiteral("Czy skopiować wydruk do katalogu przeglądarki\r(") + katalog + QStringLiteral(") ?");
}

TStanStartowy StanStartowy(const QString &pierwszyArgument, const QString &katalog, const TPytanieTakNie &pytanie)
{
    TStanStartowy stan;
    if (pierwszyArgument == QLatin1String("TEMP")) {
        stan.TrybTemp = true;
        return stan;
    }
    if (pierwszyArgument.isEmpty())
        return stan;
    const QFileInfo plik(pierwszyArgument);
    if (!plik.isFile())
        return stan;
    const QString cel = katalog + plik.fileName();
    if (pierwszyArgument.compare(cel, Qt::CaseInsensitive) == 0) {
        stan.PlikDoPodgladu = pierwszyArgument;
        return stan;
    }
    // Yes: the library's first refresh copies the file in and selects it; No: the preview opens it.
    if (pytanie(TytulPytaniaOKopie(pierwszyArgument), TrescPytaniaOKopie(katalog)))
        stan.PlikDoSkopiowania = pierwszyArgument;
    else
        stan.PlikDoPodgladu = pierwszyArgument;
    return stan;
}

TStanStartowy StanStartowyProgramu(const QString &pierwszyArgument)
{
    return StanStartowy(pierwszyArgument, KatalogProgramu(),
                        [](const QString &title, const QString &text) { return PytanieTakNie(title, text); });
}

const TFormatyProcesu &FormatyProcesu()
{
    static const TFormatyProcesu formaty;
    return formaty;
}

void UstawFormatyProcesu()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

QString FormatujLiczbe(double value, int decimals)
{
    const TFormatyProcesu &f = FormatyProcesu();
    // The C locale gives plain digits with "." and no grouping; the separators are put in here.
    QString text = QString::number(std::fabs(value), 'f', std::max(decimals, 0));
    QString whole = text.section(QLatin1Char('.'), 0, 0);
    const QString fraction = text.section(QLatin1Char('.'), 1);
    for (int i = int(whole.size()) - 3; i > 0; i -= 3)
        whole.insert(i, f.ThousandSeparator);
    QString result = fraction.isEmpty() ? whole : whole + f.DecimalSeparator + fraction;
    if (value < 0 && result.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        result.prepend(QLatin1Char('-'));
    return result;
}

QString FormatujDateKrotko(const QDate &date)
{
    return date.toString(FormatyProcesu().ShortDateFormat);
}

QString FormatujDateDlugo(const QDateTime &dateTime)
{
    return dateTime.toString(FormatyProcesu().LongDateFormat);
}
