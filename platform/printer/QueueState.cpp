#include "platform/printer/QueueState.h"

namespace platform {

namespace {

// The reasons that keep a job from printing, in the user's words. Others that the server marks as
// errors are named by their keyword.
QString ReasonText(const QString &reason)
{
    static const QList<std::pair<QLatin1String, QString>> known{
        {QLatin1String("media-empty"), QStringLiteral("brak papieru")},
        {QLatin1String("media-needed"), QStringLiteral("brak papieru")},
        {QLatin1String("media-jam"), QStringLiteral("zacięty papier")},
        {QLatin1String("toner-empty"), QStringLiteral("brak tonera")},
        {QLatin1String("marker-supply-empty"), QStringLiteral("brak tonera lub tuszu")},
        {QLatin1String("offline"), QStringLiteral("drukarka jest wyłączona lub odłączona")},
        {QLatin1String("door-open"), QStringLiteral("otwarta pokrywa drukarki")},
        {QLatin1String("cover-open"), QStringLiteral("otwarta pokrywa drukarki")},
        {QLatin1String("input-tray-missing"), QStringLiteral("brak podajnika papieru")},
        {QLatin1String("output-area-full"), QStringLiteral("pełny odbiornik papieru")},
        {QLatin1String("paused"), QStringLiteral("drukarka jest wstrzymana")},
    };
    QString base = reason;
    bool error = false;
    for (const char *suffix : {"-error", "-warning", "-report"})
        if (base.endsWith(QLatin1String(suffix))) {
            if (QLatin1String(suffix) == QLatin1String("-report"))
                return {};
            error = QLatin1String(suffix) == QLatin1String("-error");
            base.chop(int(qstrlen(suffix)));
            break;
        }
    for (const auto &[keyword, text] : known)
        if (base == keyword)
            return text;
    return error ? QStringLiteral("błąd drukarki (%1)").arg(base) : QString();
}

} // namespace

QString QueueWarning(const QString &queue, const TQueueState &state)
{
    QStringList why;
    const auto add = [&why](const QString &text) {
        if (!text.isEmpty() && !why.contains(text))
            why.append(text);
    };
    if (state.Stopped)
        add(QStringLiteral("drukarka jest wstrzymana"));
    if (!state.AcceptingJobs)
        add(QStringLiteral("drukarka nie przyjmuje nowych zadań"));
    for (const QString &reason : state.Reasons)
        add(ReasonText(reason.trimmed()));
    if (why.isEmpty())
        return {};
    return QStringLiteral("Wydruk czeka w kolejce drukarki \"%1\" i nie zostanie wydrukowany, dopóki drukarka nie "
                          "będzie gotowa: %2.\rZadanie nie zginęło: wydrukuje się, gdy przyczyna zostanie usunięta.")
        .arg(queue, why.join(QStringLiteral(", ")));
}

bool PrintsBothSides(const QList<TPrinterOption> &options)
{
    for (const TPrinterOption &option : options)
        if (option.Keyword == kOptionSides)
            for (const TPrinterChoice &choice : option.Choices)
                if (choice.Value.startsWith(QLatin1String("two-sided-")))
                    return true;
    return false;
}

} // namespace platform
