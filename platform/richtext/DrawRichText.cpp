#include "platform/richtext/DrawRichText.h"

#include "platform/base/Saturate.h"
#include "platform/richtext/RichEditBox.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

int Round(double v)
{
    return SaturatingRound(v);
}

// A logical length in twips at dpi, kept within what an int holds.
int ToTwips(int logical, int dpi)
{
    return int(std::clamp<qint64>(qint64(std::max(0, logical)) * 1440 / dpi, 0, 2147483647));
}

class PainterStateGuard {
public:
    explicit PainterStateGuard(QPainter &p) : p_(p) { p_.save(); }
    ~PainterStateGuard() { p_.restore(); }
    PainterStateGuard(const PainterStateGuard &) = delete;
    PainterStateGuard &operator=(const PainterStateGuard &) = delete;

private:
    QPainter &p_;
};

} // namespace

int DrawRichText(QPainter &canvas, const RichTextRect &rect, const QByteArray &text, int *position, float zoom,
                 bool render)
{
    if (text.isEmpty())
        return 0;
    PainterStateGuard guard(canvas);

    // Anisotropic mapping: the viewport is the rectangle, the window its size divided by zoom,
    // so one logical unit is zoom device units and the rectangle's corner is the origin.
    const double width = double(rect.Right) - rect.Left;
    const double height = double(rect.Bottom) - rect.Top;
    const int logicalWidth = zoom > 0 ? Round(width / double(zoom)) : 0;
    const int logicalHeight = zoom > 0 ? Round(height / double(zoom)) : 0;
    canvas.translate(rect.Left, rect.Top);
    if (logicalWidth > 0 && logicalHeight > 0)
        canvas.scale(width / logicalWidth, height / logicalHeight);

    const QPaintDevice *device = canvas.device();
    const int dpiX = device && device->logicalDpiX() > 0 ? device->logicalDpiX() : 96;
    const int dpiY = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;

    TRichEditBox box;
    box.LoadRtf(text);
    TwipsRect rc;
    rc.Right = ToTwips(logicalWidth, dpiX);
    rc.Bottom = ToTwips(logicalHeight, dpiY);
    const int start = position ? *position : 0;
    const FormatRangeResult result = box.FormatRange(canvas, rc, start, render);
    const int answer = result.Answer;

    if (position) {
        const int length = box.TextLength();
        *position = answer >= 0 && answer < length ? answer : 0;
        if (*position > 0 && *position <= start)
            *position = 0; // nothing more could be laid out: continuing would repeat forever
    }
    box.ReleaseFormatting();

    const int used = answer > 0 ? int(qint64(result.BottomTwips) * dpiY / 1440) : 0;
    return Round(used * double(zoom));
}

} // namespace platform
