#include "core/StyleFont.h"

#include "core/DeviceUnits.h"
#include "core/MLineWydruk.h"
#include "core/PageCanvas.h"
#include "platform/base/Saturate.h"
#include "platform/metafile/PageGeometry.h"

#include <algorithm>
#include <cmath>

using namespace platform;

namespace {

TFont MakeFont(const TStyl &styl, int h, int w)
{
    const int weight = (styl.FontStyle & 1) ? 700 : 400;
    return CreateFont(-h, -w, 0, 0, weight, styl.FontStyle & 2 ? 1 : 0, styl.FontStyle & 4 ? 1 : 0, 0,
                      unsigned(styl.Charset), 0, 0, 1, 0, QString::fromLatin1(styl.FontName));
}

QColor WindowsColor(qint32 color)
{
    const auto c = static_cast<quint32>(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

const TFont &StyleFont(TStyl &styl)
{
    if (styl.Font && !styl.Changed)
        return *styl.Font;
    TPageCanvas &canvas = styl.Owner()->GetCanvas();
    if (styl.Font)
        canvas.Deselect(*styl.Font);
    styl.Font.reset();
    // A cell far beyond the page shows nothing more than one of a few hundred pages; kept there,
    // the font's metrics and the sums made of them stay within an int.
    constexpr int kFarCell = 1 << 20;
    int w = std::clamp(MmToDevX(styl.CharWidth, canvas.DpiX()), -kFarCell, kFarCell);
    int h = std::clamp(MmToDevY(styl.CharHeight, canvas.DpiY()), -kFarCell, kFarCell);
    TFont font = MakeFont(styl, h, w);

    const QString digits = QStringLiteral("1234567890");
    const int w10 = font.TextWidth(digits);
    TRect r{0, 0, 1000, 1000};
    const int h10 = DrawTextEx(nullptr, font, digits, r, DT_NOPREFIX | DT_CALCRECT | DT_NOCLIP | DT_RIGHT);
    // In 64 bits: a cell from a file may be as wide as an int holds.
    const bool narrower = 10 * qint64(w) < w10;
    if (narrower || h < h10) {
        if (narrower)
            w = SaturatingTrunc(10.0L * w / w10 * w);
        if (h < h10)
            h = SaturatingTrunc(static_cast<long double>(h) / h10 * h);
        font = MakeFont(styl, h, w);
    }
    font.SetColor(WindowsColor(styl.Color));
    styl.Font = font;
    styl.Changed = false;
    return *styl.Font;
}

TPageCanvas &SelectStyleFont(TStyl &styl)
{
    const TFont &font = StyleFont(styl);
    TPageCanvas &canvas = styl.Owner()->GetCanvas();
    canvas.SelectFont(font);
    return canvas;
}

int StyleLineHeight(TStyl &styl)
{
    if (styl.LineHeight == 0) {
        TPageCanvas &canvas = SelectStyleFont(styl);
        TRect r{0, 0, 100, 10};
        styl.LineHeight = canvas.DrawText(QStringLiteral("A"), r, DT_NOPREFIX | DT_CALCRECT | DT_NOCLIP);
        styl.DigitWidth = canvas.TextWidth(QStringLiteral("0"));
    }
    return styl.LineHeight;
}

float StyleLineHeightMm(TStyl &styl)
{
    return DeviceUnits().DevToMmY(StyleLineHeight(styl), styl.Owner()->GetCanvas().DpiY());
}
