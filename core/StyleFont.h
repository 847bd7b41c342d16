#pragma once
// A style's font and its measured line height, built on first use and kept in the style: a page
// build measures every line several times, so nothing here is measured twice.
#include "core/Styl.h"

class TPageCanvas;

// The style's font, made again when Changed is set (or none was made). A font whose digits or
// height overflow the style's character cell is narrowed or lowered to fit it.
const platform::TFont &StyleFont(TStyl &styl);
// Selects the style's font into the model's page canvas and answers the canvas.
TPageCanvas &SelectStyleFont(TStyl &styl);
// The height of "A" in the style's font, in device units; measured once (it also measures
// DigitWidth, the width of "0").
int StyleLineHeight(TStyl &styl);
// The same in millimetres.
float StyleLineHeightMm(TStyl &styl);
