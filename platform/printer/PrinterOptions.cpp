#include "platform/printer/PrinterOptions.h"

#include "platform/printer/PrinterSheet_p.h"

#include <QRegularExpression>
#include <QSize>

#include <tuple>

namespace platform {

namespace {

const QString kColor = QStringLiteral("color");
const QString kMonochrome = QStringLiteral("monochrome");

// "600dpi" or "300x600dpi" as the two dots per inch; an empty size when the text is neither.
QSize ParseDpi(const QString &value)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,5})(?:x(\\d{1,5}))?dpi$"));
    const QRegularExpressionMatch m = re.match(value);
    if (!m.hasMatch())
        return {};
    const int x = m.captured(1).toInt();
    const int y = m.captured(2).isEmpty() ? x : m.captured(2).toInt();
    return x > 0 && y > 0 ? QSize(x, y) : QSize();
}

// "iso_a4_210x297mm" as "A4 (210 × 297 mm)", "na_letter_8.5x11in" as "Letter (8,5 × 11″)", a custom
// size by its dimensions alone; empty for a name not in that form.
QString MediaLabel(const QString &name)
{
    static const QRegularExpression re(
        QStringLiteral("^([a-z]+)_([a-z0-9.-]+)_(\\d+(?:\\.\\d+)?)x(\\d+(?:\\.\\d+)?)(mm|in)$"));
    const QRegularExpressionMatch m = re.match(name);
    if (!m.hasMatch())
        return {};
    const auto number = [](QString text) { return text.replace(QLatin1Char('.'), QLatin1Char(',')); };
    const QString size = m.captured(5) == QLatin1String("mm")
                             ? QStringLiteral("%1 × %2 mm").arg(number(m.captured(3)), number(m.captured(4)))
                             : QStringLiteral("%1 × %2″").arg(number(m.captured(3)), number(m.captured(4)));
    const QString family = m.captured(1);
    QString paper = m.captured(2);
    if (family == QLatin1String("custom"))
        return size;
    if (family == QLatin1String("iso"))
        paper = paper.toUpper();
    else if (family == QLatin1String("jis"))
        paper = QStringLiteral("JIS ") + paper.toUpper();
    else
        paper[0] = paper[0].toUpper();
    return QStringLiteral("%1 (%2)").arg(paper, size);
}

QString MediaSourceLabel(const QString &value)
{
    static const QRegularExpression tray(QStringLiteral("^tray-(\\d+)$"));
    if (const QRegularExpressionMatch m = tray.match(value); m.hasMatch())
        return QStringLiteral("Podajnik %1").arg(m.captured(1));
    static const QList<std::pair<QString, QString>> labels{
        {QStringLiteral("auto"), QStringLiteral("Wybór automatyczny")},
        {QStringLiteral("main"), QStringLiteral("Podajnik główny")},
        {QStringLiteral("manual"), QStringLiteral("Podawanie ręczne")},
        {QStringLiteral("by-pass-tray"), QStringLiteral("Podajnik uniwersalny")},
        {QStringLiteral("envelope"), QStringLiteral("Podajnik kopert")},
        {QStringLiteral("large-capacity"), QStringLiteral("Podajnik o dużej pojemności")},
        {QStringLiteral("top"), QStringLiteral("Podajnik górny")},
        {QStringLiteral("middle"), QStringLiteral("Podajnik środkowy")},
        {QStringLiteral("bottom"), QStringLiteral("Podajnik dolny")},
    };
    for (const auto &[keyword, label] : labels)
        if (keyword == value)
            return label;
    return {};
}

} // namespace

TPrinterOption MakePrinterOption(const QString &keyword)
{
    static const QList<std::pair<QString, QString>> names{
        {kOptionMedia, QStringLiteral("Rozmiar papieru")},    {kOptionColorMode, QStringLiteral("Tryb koloru")},
        {kOptionResolution, QStringLiteral("Rozdzielczość")}, {kOptionSides, QStringLiteral("Druk dwustronny")},
        {kOptionMediaSource, QStringLiteral("Podajnik")},
    };
    TPrinterOption option;
    option.Keyword = keyword;
    option.Label = keyword;
    for (const auto &[name, label] : names)
        if (name == keyword)
            option.Label = label;
    return option;
}

QString StandardChoiceLabel(const QString &keyword, const QString &value)
{
    static const QList<std::tuple<QString, QString, QString>> labels{
        {kOptionColorMode, kColor, QStringLiteral("Kolorowy")},
        {kOptionColorMode, kMonochrome, QStringLiteral("Czarno-biały")},
        {kOptionSides, QStringLiteral("one-sided"), QStringLiteral("Jednostronnie")},
        {kOptionSides, QStringLiteral("two-sided-long-edge"), QStringLiteral("Dwustronnie, wzdłuż dłuższej krawędzi")},
        {kOptionSides, QStringLiteral("two-sided-short-edge"), QStringLiteral("Dwustronnie, wzdłuż krótszej krawędzi")},
    };
    for (const auto &[name, choice, label] : labels)
        if (name == keyword && choice == value)
            return label;
    if (keyword == kOptionMedia)
        return MediaLabel(value);
    if (keyword == kOptionMediaSource)
        return MediaSourceLabel(value);
    if (keyword == kOptionResolution) {
        const QSize dpi = ParseDpi(value);
        if (dpi.isEmpty())
            return {};
        return dpi.width() == dpi.height() ? QStringLiteral("%1 dpi").arg(dpi.width())
                                           : QStringLiteral("%1 × %2 dpi").arg(dpi.width()).arg(dpi.height());
    }
    return {};
}

QString ResolutionValue(int x, int y)
{
    return x == y || y <= 0 ? QStringLiteral("%1dpi").arg(x) : QStringLiteral("%1x%2dpi").arg(x).arg(y);
}

QString OptionValue(const TDevMode &settings, const QString &keyword)
{
    if (keyword == kOptionMedia)
        return settings.Media;
    if (keyword == kOptionColorMode)
        return settings.Fields & DM_COLOR ? (settings.Color == DMCOLOR_COLOR ? kColor : kMonochrome) : QString();
    if (keyword == kOptionResolution)
        return settings.Resolution > 0 ? ResolutionValue(settings.Resolution, settings.ResolutionY) : QString();
    if (keyword == kOptionSides)
        return settings.Sides;
    if (keyword == kOptionMediaSource)
        return settings.MediaSource;
    return {};
}

void SetOptionValue(TDevMode &settings, const QString &keyword, const QString &value)
{
    if (keyword == kOptionMedia) {
        settings.Media = value;
    } else if (keyword == kOptionColorMode) {
        if (value != kColor && value != kMonochrome)
            return;
        settings.Fields |= DM_COLOR;
        settings.Color = value == kColor ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    } else if (keyword == kOptionResolution) {
        const QSize dpi = ParseDpi(value);
        if (dpi.isEmpty())
            return;
        settings.Resolution = dpi.width();
        settings.ResolutionY = dpi.height() == dpi.width() ? 0 : dpi.height();
    } else if (keyword == kOptionSides) {
        settings.Sides = value;
    } else if (keyword == kOptionMediaSource) {
        settings.MediaSource = value;
    }
}

QList<TPrinterOption> WithSettingsValues(QList<TPrinterOption> options, const TDevMode &settings)
{
    for (TPrinterOption &option : options) {
        const bool media = option.Keyword == kOptionMedia;
        const auto same = [media](const QString &a, const QString &b) {
            return media ? PwgMediaName(a) == PwgMediaName(b) : a == b;
        };
        const auto find = [&](const QString &value) -> const TPrinterChoice * {
            if (value.isEmpty())
                return nullptr;
            for (const TPrinterChoice &choice : option.Choices)
                if (same(choice.Value, value))
                    return &choice;
            return nullptr;
        };
        if (const TPrinterChoice *set = find(OptionValue(settings, option.Keyword)))
            option.Value = set->Value;
        else if (const TPrinterChoice *given = find(option.Value))
            option.Value = given->Value;
        else
            option.Value = option.Choices.isEmpty() ? QString() : option.Choices.first().Value;
    }
    return options;
}

} // namespace platform
