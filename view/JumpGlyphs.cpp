#include "view/JumpGlyphs.h"

#include <array>

namespace {

// Rows of the upward glyph; the downward one is its mirror image top to bottom.
// clang-format off
constexpr std::array<const char *, 9> kTopRows = {
    "##########",
    "..........",
    "....##....",
    "...####...",
    "..######..",
    ".########.",
    "##########",
    "..........",
    "##########",
};
// clang-format on

QImage Glyph(bool flip)
{
    QImage image(10, 9, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 9; ++y) {
        const char *row = kTopRows[size_t(flip ? 8 - y : y)];
        for (int x = 0; x < 10; ++x)
            if (row[x] == '#')
                image.setPixel(x, y, qRgb(0, 0, 0));
    }
    return image;
}

} // namespace

QImage GridHdrTopGlyph()
{
    return Glyph(false);
}

QImage GridHdrBottomGlyph()
{
    return Glyph(true);
}
