#pragma once
// A blank 1-bit image as printed bands come: white paper, with either order of the colour table.
#include <QImage>

namespace wydtest {

// width by height of white; inkIsOne puts black at index 1 of the colour table, else at index 0.
QImage BlankMono(int width, int height, bool inkIsOne);

} // namespace wydtest
