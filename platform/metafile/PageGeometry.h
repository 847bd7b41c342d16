#pragma once
// Page geometry of the page pictures: millimetres to page device units and back at the fixed zoom.
namespace platform {

// Every page is recorded against a virtual 96-dpi screen.
inline constexpr int kReferenceDpi = 96;
// Page zoom in percent: everything in millimetres is drawn 1.8 times larger than life.
inline constexpr int PageZoom = 180;
inline constexpr double kPageWidthMm = 210.0;
inline constexpr double kPageHeightMm = 294.0;
// The page picture's size in device units at the reference resolution (1429 x 2000).
inline constexpr int kPageWidth = 1429;
inline constexpr int kPageHeight = 2000;

// Round(dpi x mm x (1 / 25.4) x (PageZoom x 0.01)), products in extended precision from left to right,
// halves to the even neighbour.
int MmToDevX(long double mm, int dpiX = kReferenceDpi);
int MmToDevY(long double mm, int dpiY = kReferenceDpi);
// d / dpi x 25.4 / (PageZoom x 0.01) in extended precision, kept in single precision.
float DevToMmX(long double d, int dpiX = kReferenceDpi);
float DevToMmY(long double d, int dpiY = kReferenceDpi);

// The page picture's width and height for a screen resolution (both from the horizontal one).
int PageWidthForDpi(int dpi);
int PageHeightForDpi(int dpi);

} // namespace platform
