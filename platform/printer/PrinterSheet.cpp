#include "platform/printer/PrinterSheet_p.h"

#include <cups/cups.h>

#include <cmath>

namespace platform {

namespace {

int Pixels(double mm, int dpi)
{
    return int(std::lround(mm * dpi / 25.4));
}

} // namespace

QSizeF OrientedPaperMm(const TSheet &sheet, TOrientation orientation)
{
    return orientation == TOrientation::Landscape ? sheet.PaperMm.transposed() : sheet.PaperMm;
}

TDeviceCaps SheetCaps(const TSheet &sheet, TOrientation orientation)
{
    const QSizeF paper = OrientedPaperMm(sheet, orientation);
    // A landscape sheet lies on the paper turned a quarter clockwise, as CUPS lays it: the paper's
    // bottom edge is the sheet's left one.
    const QMarginsF m = sheet.MarginsMm;
    const QMarginsF margins =
        orientation == TOrientation::Landscape ? QMarginsF(m.bottom(), m.left(), m.top(), m.right()) : m;
    const int dpiX = orientation == TOrientation::Landscape ? sheet.DpiY : sheet.DpiX;
    const int dpiY = orientation == TOrientation::Landscape ? sheet.DpiX : sheet.DpiY;
    TDeviceCaps caps;
    caps.PhysicalWidth = Pixels(paper.width(), dpiX);
    caps.PhysicalHeight = Pixels(paper.height(), dpiY);
    caps.PhysicalOffsetX = Pixels(margins.left(), dpiX);
    caps.PhysicalOffsetY = Pixels(margins.top(), dpiY);
    caps.LogPixelsX = dpiX;
    caps.LogPixelsY = dpiY;
    return caps;
}

namespace {

pwg_media_t *PwgMedia(const QString &media)
{
    const QByteArray name = media.toUtf8();
    if (name.isEmpty())
        return nullptr;
    pwg_media_t *pwg = pwgMediaForPWG(name.constData());
    if (!pwg)
        pwg = pwgMediaForLegacy(name.constData());
    if (!pwg)
        pwg = pwgMediaForPPD(name.constData());
    return pwg;
}

} // namespace

QSizeF MediaSizeMm(const QString &media)
{
    const pwg_media_t *pwg = PwgMedia(media);
    if (!pwg || pwg->width <= 0 || pwg->length <= 0)
        return {};
    return QSizeF(pwg->width / 100.0, pwg->length / 100.0);
}

QString PwgMediaName(const QString &media)
{
    const pwg_media_t *pwg = PwgMedia(media);
    return pwg && pwg->pwg ? QString::fromUtf8(pwg->pwg) : media;
}

} // namespace platform
