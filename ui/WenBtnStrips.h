#pragma once
// The key pictures of the bitmap button: the plate strip "WENBTN_BG" (five colour plates, enabled
// and disabled) and the symbol strip "WENBTN_FG" (45 key legends, enabled and disabled), drawn by
// our own code once per process and cut into the four image lists every button paints from.
#include <QImage>
#include <vector>

constexpr int kPlateWidth = 22;
constexpr int kPlateHeight = 17;
constexpr int kPlateRows = 5;
constexpr int kSymbolWidth = 20;
constexpr int kSymbolHeight = 13;
constexpr int kSymbolRows = 45;

// "WENBTN_BG", 44 x 85: left column enabled plates, right column disabled, one row per colour.
QImage DrawPlateStrip();
// "WENBTN_FG", 40 x 585: left column enabled symbols, right column disabled, one row per key type.
QImage DrawSymbolStrip();

// One cell of a strip with the colour of the strip's top-left pixel made transparent.
QImage CutCell(const QImage &strip, int column, int row, int cellWidth, int cellHeight);

// The shared image lists, built on first use and kept until the process ends.
class TWenBtnImages {
public:
    static const TWenBtnImages &Instance();
    const QImage &PlateStrip() const { return plateStrip_; }
    const QImage &SymbolStrip() const { return symbolStrip_; }
    const QImage &Plate(int kolor, bool enabled) const;
    const QImage &Symbol(int typ, bool enabled) const;

private:
    TWenBtnImages();
    QImage plateStrip_, symbolStrip_;
    // Images rather than pixmaps: they outlive the application object at the end of the process.
    std::vector<QImage> plates_[2], symbols_[2]; // [0] enabled, [1] disabled
};
