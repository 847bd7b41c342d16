#include "cli/ExportOptions.h"

#include "platform/base/Exception.h"

namespace {

constexpr double kSheetWidthMm = 210;
constexpr double kSheetHeightMm = 297;
constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 600; // a 600-dpi page is already 4961 x 6945 pixels
constexpr int kMaxCopies = 999;

int ParseDpi(const QString &text)
{
    bool ok = false;
    const int dpi = text.toInt(&ok);
    if (!ok || dpi < kMinDpi || dpi > kMaxDpi)
        throw Exception(QStringLiteral("Nieprawidłowa rozdzielczość \"%1\": podaj liczbę punktów na cal od %2 do %3")
                            .arg(text)
                            .arg(kMinDpi)
                            .arg(kMaxDpi));
    return dpi;
}

TPrintMode ParseMode(const QString &text)
{
    if (text == QLatin1String("normalne"))
        return TPrintMode::Normalne;
    if (text == QLatin1String("zmniejszone"))
        return TPrintMode::Zmniejszone;
    if (text == QLatin1String("ksiazeczka"))
        return TPrintMode::Ksiazeczka;
    throw Exception(
        QStringLiteral("Nieznany tryb drukowania \"%1\": podaj normalne, zmniejszone albo ksiazeczka").arg(text));
}

int ParseCopies(const QString &text)
{
    bool ok = false;
    const int copies = text.toInt(&ok);
    if (!ok || copies < 1 || copies > kMaxCopies)
        throw Exception(
            QStringLiteral("Nieprawidłowa liczba kopii \"%1\": podaj liczbę od 1 do %2").arg(text).arg(kMaxCopies));
    return copies;
}

} // namespace

QMarginsF ParseMargins(const QString &text)
{
    const QStringList parts = text.split(u',');
    double mm[4] = {};
    bool ok = parts.size() == 4;
    for (qsizetype i = 0; ok && i < 4; ++i) {
        mm[i] = parts[i].trimmed().toDouble(&ok);
        ok = ok && mm[i] >= 0 && mm[i] <= kSheetHeightMm;
    }
    if (!ok)
        throw Exception(QStringLiteral("Nieprawidłowe marginesy \"%1\": podaj cztery liczby milimetrów "
                                       "L,G,P,D (lewy, górny, prawy, dolny), np. %2")
                            .arg(text, defaults::MarginsText()));
    if (mm[0] + mm[2] >= kSheetWidthMm || mm[1] + mm[3] >= kSheetHeightMm)
        throw Exception(
            QStringLiteral("Marginesy \"%1\" nie zostawiają miejsca na stronę arkusza A4 (210 x 297 mm)").arg(text));
    return QMarginsF(mm[0], mm[1], mm[2], mm[3]);
}

ExportOptions ParseExportOptions(const QStringList &args, const QStringList &allowed, bool needOutput)
{
    ExportOptions o;
    bool outputGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i];
        QString value;
        bool inlineValue = false;
        if (name.startsWith(QLatin1String("--")) && name.contains(u'=')) {
            value = name.mid(name.indexOf(u'=') + 1);
            name = name.left(name.indexOf(u'='));
            inlineValue = true;
        }
        if (!name.startsWith(u'-') || name == QLatin1String("-")) {
            if (!o.file.isEmpty())
                throw Exception(QStringLiteral("Podano więcej niż jeden plik wydruku: \"%1\"").arg(name));
            o.file = name;
            continue;
        }
        if (!allowed.contains(name))
            throw Exception(QStringLiteral("Nieznana opcja \"%1\"").arg(name));
        const std::pair<const char *, bool *> flags[] = {
            {"--mono", &o.mono},         {"--dwustronnie", &o.twoSided}, {"--dwustronnie-auto", &o.printerTwoSided},
            {"--odwrotnie", &o.reverse}, {"--kolor", &o.colour},         {"--bitmapa", &o.bitmap}};
        bool *flag = nullptr;
        for (const auto &[flagName, target] : flags)
            if (name == QLatin1String(flagName))
                flag = target;
        if (flag) {
            if (inlineValue)
                throw Exception(QStringLiteral("Opcja %1 nie przyjmuje wartości").arg(name));
            *flag = true;
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size())
                throw Exception(QStringLiteral("Brak wartości opcji %1").arg(name));
            value = args[++i];
        }
        if (name == QLatin1String("-o")) {
            o.output = value;
            outputGiven = !value.isEmpty();
        } else if (name == QLatin1String("--margins")) {
            o.margins = ParseMargins(value);
        } else if (name == QLatin1String("--dpi")) {
            o.dpi = ParseDpi(value);
        } else if (name == QLatin1String("--pages") || name == QLatin1String("--strony")) {
            o.pages = value;
            o.pagesGiven = true;
        } else if (name == QLatin1String("-d")) {
            o.queue = value;
        } else if (name == QLatin1String("--tryb")) {
            o.mode = ParseMode(value);
        } else if (name == QLatin1String("--kopie")) {
            o.copies = ParseCopies(value);
        }
    }
    if (o.file.isEmpty())
        throw Exception(QStringLiteral("Nie podano pliku wydruku"));
    if (needOutput && !outputGiven)
        throw Exception(QStringLiteral("Nie podano, gdzie zapisać wynik (-o)"));
    return o;
}
