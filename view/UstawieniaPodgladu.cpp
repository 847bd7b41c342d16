#include "view/UstawieniaPodgladu.h"

#include "platform/base/Exception.h"
#include "print/PrintDlgSettings.h"

#include <QSettings>
#include <QVariant>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

const QString kWenoglad = QStringLiteral("Wenoglad");

const QString kLeft = QStringLiteral("FrmPodglad_Left");
const QString kTop = QStringLiteral("FrmPodglad_Top");
const QString kWidth = QStringLiteral("FrmPodglad_Width");
const QString kHeight = QStringLiteral("FrmPodglad_Height");
const QString kMax = QStringLiteral("FrmPodglad_Max");
const QString kMarginTop = QStringLiteral("Margin_Top");
const QString kMarginLeft = QStringLiteral("Margin_Left");
const QString kMarginRight = QStringLiteral("Margin_Right");
const QString kMarginBottom = QStringLiteral("Margin_Bottom");
const QString kNazwaDruk = QStringLiteral("PrintDlg_NazwaDruk");
const QString kTryb = QStringLiteral("PrintDlg_Tryb");
const QString kOdwrotnie = QStringLiteral("PrintDlg_Odwrotnie");
const QString kDwustronnie = QStringLiteral("PrintDlg_Dwustronnie");
const QString kKolor = QStringLiteral("PrintDlg_Kolor");
const QString kKopie = QStringLiteral("PrintDlg_Kopie");
// Added later: older versions pass over it.
const QString kDwustronnieAuto = QStringLiteral("PrintDlg_DwustronnieAuto");
const QString kNoAbort = QStringLiteral("PrintDlg_NoAbort");
const QString kNoEMF = QStringLiteral("PrintDlg_NoEMF");

// The user's own store only: no fallback to system-wide values.
std::unique_ptr<QSettings> OpenStore()
{
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kWenoglad, kWenoglad);
    settings->setFallbacksEnabled(false);
    return settings;
}

// A value read back from the file is text; a list (a comma in the file) is of the wrong type.
std::optional<QString> ReadText(QSettings &s, const QString &name)
{
    const QVariant v = s.value(name);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList || v.typeId() == QMetaType::QVariantList ||
        !v.canConvert<QString>())
        return std::nullopt;
    return v.toString();
}

std::optional<qint32> ReadInt(QSettings &s, const QString &name)
{
    const std::optional<QString> text = ReadText(s, name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

// "true"/"false" as written here, or a whole number that is true when not 0.
std::optional<bool> ReadBool(QSettings &s, const QString &name)
{
    const std::optional<QString> text = ReadText(s, name);
    if (!text)
        return std::nullopt;
    if (*text == QLatin1String("true"))
        return true;
    if (*text == QLatin1String("false"))
        return false;
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? std::optional<bool>(value != 0) : std::nullopt;
}

template <typename T> void ReadInto(const std::optional<T> &value, T &target)
{
    if (value)
        target = *value;
}

void ReadBounds(QSettings &s, TStanPodgladu &stan, const QRect &obszar)
{
    const auto width = ReadInt(s, kWidth), height = ReadInt(s, kHeight);
    const auto top = ReadInt(s, kTop), left = ReadInt(s, kLeft);
    if (!width || !height || !top || !left)
        return;
    QRect okno(*left, *top, *width, *height);
    // Right and bottom edges as the desktop counts them: one past the last pixel.
    const int obszarRight = obszar.x() + obszar.width(), obszarBottom = obszar.y() + obszar.height();
    if (okno.x() + okno.width() > obszarRight)
        okno.setWidth(obszarRight - okno.x());
    if (okno.y() + okno.height() > obszarBottom)
        okno.setHeight(obszarBottom - okno.y());
    stan.Okno = okno;
}

// The margins in order; the first one missing ends the group, keeping those read before it.
void ReadMargins(QSettings &s, TStanPodgladu &stan)
{
    const std::pair<const QString *, int *> fields[] = {{&kMarginTop, &stan.MargTop},
                                                        {&kMarginLeft, &stan.MargLeft},
                                                        {&kMarginRight, &stan.MargRight},
                                                        {&kMarginBottom, &stan.MargBottom}};
    for (const auto &[name, field] : fields) {
        const std::optional<qint32> value = ReadInt(s, *name);
        if (!value)
            return;
        *field = std::clamp(*value, 0, 99);
    }
}

} // namespace

TStanPodgladu DomyslnyStanPodgladu(const QRect &obszarRoboczy)
{
    TStanPodgladu stan;
    stan.Okno =
        QRect(obszarRoboczy.x() + 150, obszarRoboczy.y() + 5, obszarRoboczy.width() - 300, obszarRoboczy.height() - 10);
    return stan;
}

void WczytajUstawienia(TStanPodgladu &stan, const QRect &obszarRoboczy)
{
    const std::unique_ptr<QSettings> store = OpenStore();
    QSettings &s = *store;
    ReadBounds(s, stan, obszarRoboczy);
    if (ReadBool(s, kMax).value_or(false))
        stan.Zmaksymalizowane = true;
    ReadMargins(s, stan);

    // Stored straight: the print dialog copes with a mode outside 1..3 itself.
    TPrintDlgSettings &p = PrintDlgSettings;
    ReadInto(ReadText(s, kNazwaDruk), p.NazwaDruk);
    if (const std::optional<qint32> tryb = ReadInt(s, kTryb))
        p.Tryb = PrintModeOf(*tryb);
    ReadInto(ReadBool(s, kOdwrotnie), p.Odwrotnie);
    ReadInto(ReadBool(s, kDwustronnie), p.Dwustronnie);
    ReadInto(ReadBool(s, kKolor), p.Kolor);
    ReadInto(ReadInt(s, kKopie), p.Kopie);
    ReadInto(ReadBool(s, kNoAbort), p.NoAbort);
    ReadInto(ReadBool(s, kNoEMF), p.NoEMF);
    if (const QVariant printers = s.value(kDwustronnieAuto); printers.isValid())
        p.DwustronnieAutoDrukarki = printers.toStringList();
}

void ZapiszUstawienia(const TStanPodgladu &stan)
{
    const std::unique_ptr<QSettings> store = OpenStore();
    QSettings &s = *store;
    if (!s.isWritable())
        return;

    if (stan.Zmaksymalizowane) {
        s.setValue(kMax, true);
    } else {
        s.setValue(kLeft, stan.Okno.x());
        s.setValue(kTop, stan.Okno.y());
        s.setValue(kWidth, stan.Okno.width());
        s.setValue(kHeight, stan.Okno.height());
        s.setValue(kMax, false);
    }
    s.setValue(kMarginLeft, stan.MargLeft);
    s.setValue(kMarginRight, stan.MargRight);
    s.setValue(kMarginTop, stan.MargTop);
    s.setValue(kMarginBottom, stan.MargBottom);

    const TPrintDlgSettings &p = PrintDlgSettings;
    s.setValue(kNazwaDruk, p.NazwaDruk);
    s.setValue(kTryb, static_cast<qint32>(p.Tryb));
    s.setValue(kOdwrotnie, p.Odwrotnie);
    s.setValue(kDwustronnie, p.Dwustronnie);
    s.setValue(kKolor, p.Kolor);
    s.setValue(kKopie, p.Kopie);
    s.setValue(kNoAbort, p.NoAbort);
    s.setValue(kNoEMF, p.NoEMF);
    if (p.DwustronnieAutoDrukarki.isEmpty())
        s.remove(kDwustronnieAuto);
    else
        s.setValue(kDwustronnieAuto, p.DwustronnieAutoDrukarki);

    s.sync();
    if (s.status() != QSettings::NoError)
        throw Exception(QStringLiteral("Nie można zapisać ustawień w pliku \"%1\".").arg(s.fileName()));
}
