#include "chooser/ExploratorGeometria.h"

#include <algorithm>
#include <cmath>

namespace {

// GetDialogBaseUnits' horizontal unit for the system font at 96 dpi.
constexpr int kDialogBaseUnitX = 8;

} // namespace

int ExplorerClientWidth(bool folderSide, bool fileSide, int fileSideWidth)
{
    if (!folderSide)
        return fileSideWidth + 24;
    return fileSide ? fileSideWidth + 274 : 250;
}

int ExplorerTabStopUnits(int fileSideWidth, int descriptionWidth)
{
    return (fileSideWidth - descriptionWidth) * 4 / kDialogBaseUnitX;
}

int ExplorerTabStopPixels(int tabStopUnits)
{
    return tabStopUnits * kDialogBaseUnitX / 4;
}

QRect ExplorerPictureFit(const QSize &picture, const QSize &panel)
{
    if (picture.isEmpty() || panel.width() <= 2 || panel.height() <= 2)
        return {};
    const double zoom =
        std::max(double(picture.width()) / (panel.width() - 2), double(picture.height()) / (panel.height() - 2));
    // Rounded to the nearest, halves to the even neighbour.
    const int w = int(std::nearbyint(picture.width() * 0.98 / zoom));
    const int h = int(std::nearbyint(picture.height() * 0.98 / zoom));
    return {(panel.width() - w) / 2, (panel.height() - h) / 2, w, h};
}
