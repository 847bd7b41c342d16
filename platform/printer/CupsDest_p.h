#pragma once
// One CUPS destination looked up by the name the printer list gives it ("queue" or "queue/instance").
#include <QString>

#include <cups/cups.h>

namespace platform {

class CupsDest {
public:
    explicit CupsDest(const QString &device)
    {
        const QByteArray name = device.section(QLatin1Char('/'), 0, 0).toUtf8();
        const QByteArray instance = device.section(QLatin1Char('/'), 1).toUtf8();
        dest_ =
            cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), instance.isEmpty() ? nullptr : instance.constData());
    }
    ~CupsDest() { cupsFreeDests(dest_ ? 1 : 0, dest_); }
    CupsDest(const CupsDest &) = delete;
    CupsDest &operator=(const CupsDest &) = delete;

    explicit operator bool() const { return dest_ != nullptr; }
    cups_dest_t *get() const { return dest_; }
    const cups_dest_t &operator*() const { return *dest_; }

private:
    cups_dest_t *dest_ = nullptr;
};

inline QString DestOption(const cups_dest_t &dest, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

} // namespace platform
