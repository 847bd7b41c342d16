#pragma once
// Units of rich-text layout: documents are laid out at 96 dpi, where one pixel is 15 twips.
class QPaintDevice;

namespace platform::rtf {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kLayoutDpi = 96;

// The 96-dpi device every rich-text document is laid out against, whatever the screen.
QPaintDevice *LayoutDevice();

// QTextDocument scales the lengths in its formats (margins, indents, tab stops, table widths)
// from the screen's default resolution to its layout device's; this pre-divides a length in
// 96-dpi pixels so that it lands at 96 dpi.
double FormatLength(double pixels);

inline double TwipsToPixels(double twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace platform::rtf
