#include "ui/WinFonts.h"

#include "platform/text/WindowsFaces.h"

#include <cmath>

int PointsToPixels(int points)
{
    return static_cast<int>(std::nearbyint(points * 96.0 / 72.0));
}

QFont WinFont(const QString &family, int pixelSize, bool bold)
{
    platform::InstallFontSubstitutions();
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont WinFontPt(const QString &family, int points, bool bold)
{
    return WinFont(family, PointsToPixels(points), bold);
}
