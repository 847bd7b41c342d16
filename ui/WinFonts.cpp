#include "ui/WinFonts.h"

#include <cmath>

namespace ui {

void InstallFontSubstitutions()
{
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        return true;
    }();
    (void)done;
}

int PointsToPixels(int points)
{
    return static_cast<int>(std::nearbyint(points * 96.0 / 72.0));
}

QFont WinFont(const QString &family, int pixelSize, bool bold)
{
    InstallFontSubstitutions();
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

} // namespace ui
