#pragma once
// Fonts of the window parts: the Windows face names the program's windows are designed with, mapped
// to the metric-compatible Liberation faces by the face table of platform/text, sized in pixels so
// that layout does not depend on the screen's resolution.
#include <QFont>

// Pixel height of a point size on the 96-dpi reference screen, halves to the even neighbour.
int PointsToPixels(int points);

// A font of the given face and character height in pixels.
QFont WinFont(const QString &family, int pixelSize, bool bold = false);

// The same from a point size.
QFont WinFontPt(const QString &family, int points, bool bold = false);
