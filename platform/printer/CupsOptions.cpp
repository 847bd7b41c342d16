#include "platform/printer/CupsOptions_p.h"

#include "platform/printer/CupsDest_p.h"
#include "platform/printer/PrinterError.h"

#include <memory>

namespace platform {

namespace {

struct DestInfoFree {
    void operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }
};

class QueueOptions {
public:
    QueueOptions(const CupsDest &dest, cups_dinfo_t *info) : dest_(dest), info_(info) {}

    TPrinterOption Media() const
    {
        // The sizes by the names the queue takes in a job: the media list of cupsGetDestMediaByIndex
        // renames borderless sizes ("iso_a4_210x297mm_borderless"), which no job names.
        TPrinterOption option = MakePrinterOption(kOptionMedia);
        ipp_attribute_t *attr = Supported("media");
        for (int i = 0; attr && i < ippGetCount(attr); ++i) {
            const char *text = ippGetString(attr, i, nullptr);
            const QString name = QString::fromUtf8(text);
            // The bounds of the custom sizes are no size to choose.
            if (name.isEmpty() || name.startsWith(QLatin1String("custom_min_")) ||
                name.startsWith(QLatin1String("custom_max_")) || HasChoice(option, name))
                continue;
            QString label = StandardChoiceLabel(kOptionMedia, name);
            cups_size_t size{};
            if (label.isEmpty() &&
                cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest_.get(), info_, text, CUPS_MEDIA_FLAGS_DEFAULT, &size))
                label = QString::fromUtf8(
                    cupsLocalizeDestMedia(CUPS_HTTP_DEFAULT, dest_.get(), info_, CUPS_MEDIA_FLAGS_DEFAULT, &size));
            option.Choices.append({name, label.isEmpty() ? name : label});
        }
        // The queue's own paper: cupsGetDestMediaDefault looks only at the "media" option and takes
        // Letter without one.
        option.Value = DestOption(*dest_, "media");
        if (option.Value.isEmpty())
            option.Value = DefaultText("media");
        return option;
    }

    TPrinterOption Resolution() const
    {
        TPrinterOption option = MakePrinterOption(kOptionResolution);
        const auto value = [](ipp_attribute_t *attr, int i) {
            ipp_res_t units = IPP_RES_PER_INCH;
            int y = 0;
            const int x = ippGetResolution(attr, i, &y, &units);
            const double scale = units == IPP_RES_PER_CM ? 2.54 : 1.0;
            return ResolutionValue(int(x * scale + 0.5), int(y * scale + 0.5));
        };
        if (ipp_attribute_t *attr = Supported("printer-resolution"); attr && ippGetValueTag(attr) == IPP_TAG_RESOLUTION)
            for (int i = 0; i < ippGetCount(attr); ++i)
                if (const QString dpi = value(attr, i); !HasChoice(option, dpi))
                    option.Choices.append({dpi, StandardChoiceLabel(kOptionResolution, dpi)});
        if (ipp_attribute_t *attr = Default("printer-resolution"); attr && ippGetValueTag(attr) == IPP_TAG_RESOLUTION)
            option.Value = value(attr, 0);
        return option;
    }

    // An option whose values are keywords; only those in wanted when it names any.
    TPrinterOption Keywords(const QString &keyword, const QStringList &wanted = {}) const
    {
        TPrinterOption option = MakePrinterOption(keyword);
        const QByteArray name = keyword.toUtf8();
        if (ipp_attribute_t *attr = Supported(name.constData()))
            for (int i = 0; i < ippGetCount(attr); ++i) {
                const char *text = ippGetString(attr, i, nullptr);
                const QString value = QString::fromUtf8(text);
                if (value.isEmpty() || (!wanted.isEmpty() && !wanted.contains(value)) || HasChoice(option, value))
                    continue;
                QString label = StandardChoiceLabel(keyword, value);
                if (label.isEmpty()) {
                    const char *localised =
                        cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest_.get(), info_, name.constData(), text);
                    label = localised && *localised ? QString::fromUtf8(localised) : value;
                }
                option.Choices.append({value, label});
            }
        option.Value = DefaultText(name.constData());
        return option;
    }

private:
    static bool HasChoice(const TPrinterOption &option, const QString &value)
    {
        for (const TPrinterChoice &choice : option.Choices)
            if (choice.Value == value)
                return true;
        return false;
    }
    ipp_attribute_t *Supported(const char *name) const
    {
        return cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest_.get(), info_, name);
    }
    ipp_attribute_t *Default(const char *name) const
    {
        return cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest_.get(), info_, name);
    }
    QString DefaultText(const char *name) const
    {
        ipp_attribute_t *attr = Default(name);
        const char *text = attr ? ippGetString(attr, 0, nullptr) : nullptr;
        return QString::fromUtf8(text);
    }

    const CupsDest &dest_;
    cups_dinfo_t *info_;
};

} // namespace

QList<TPrinterOption> CupsQueueOptions(const QString &device)
{
    const CupsDest dest(device);
    const std::unique_ptr<cups_dinfo_t, DestInfoFree> info(dest ? cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get())
                                                                : nullptr);
    if (!info)
        throw EPrinter(QStringLiteral("Nie można odczytać opcji drukarki %1: %2")
                           .arg(device, QString::fromUtf8(cupsLastErrorString())));
    const QueueOptions queue(dest, info.get());
    QList<TPrinterOption> options;
    for (const TPrinterOption &option :
         {queue.Media(), queue.Keywords(kOptionColorMode, {QStringLiteral("color"), QStringLiteral("monochrome")}),
          queue.Resolution(), queue.Keywords(kOptionSides), queue.Keywords(kOptionMediaSource)})
        if (!option.Choices.isEmpty())
            options.append(option);
    return options;
}

} // namespace platform
