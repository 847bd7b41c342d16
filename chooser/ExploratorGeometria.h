#pragma once
// The chooser window's arithmetic, kept apart from its widgets: the width for the sides shown, the
// tab stop of the description column and the fit of a previewed picture.
#include <QRect>
#include <QSize>

// Client width of the chooser: the file side alone, both sides, or the folder side alone.
int ExplorerClientWidth(bool folderSide, bool fileSide, int fileSideWidth);

// The list's tab stop in dialog units: what is left of the file side for the names, converted
// with the horizontal dialog base unit of the system font.
int ExplorerTabStopUnits(int fileSideWidth, int descriptionWidth);
// The tab stop in pixels of the list.
int ExplorerTabStopPixels(int tabStopUnits);

// Where a picture goes in the preview panel: scaled to 98% of the panel less a pixel of frame on
// each side, keeping its proportions, centred. An empty picture or panel gives an empty rectangle.
QRect ExplorerPictureFit(const QSize &picture, const QSize &panel);
