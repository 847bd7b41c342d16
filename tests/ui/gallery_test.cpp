// Renders the window parts the way the user sees them and checks chosen pixels. With
// WENOGLAD_GALLERY_DIR set, every picture is also written there as a PNG for a look by eye.
#include "ui/WenBtn.h"
#include "ui/WenBtnStrips.h"

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

void Save(const QImage &image, const QString &name, int zoom = 1)
{
    const QString dir = qEnvironmentVariable("WENOGLAD_GALLERY_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const QImage out = zoom == 1 ? image : image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio,
                                                        Qt::FastTransformation);
    ASSERT_TRUE(out.save(dir + QLatin1Char('/') + name));
}

QImage OnBackground(const QImage &strip, const QColor &bg)
{
    QImage out(strip.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(bg);
    QPainter p(&out);
    p.drawImage(0, 0, strip);
    return out;
}

} // namespace

TEST(Gallery, StripsHaveTheirGeometry)
{
    const auto &images = ui::TWenBtnImages::Instance();
    EXPECT_EQ(images.PlateStrip().size(), QSize(44, 85));
    EXPECT_EQ(images.SymbolStrip().size(), QSize(40, 585));
    Save(OnBackground(images.PlateStrip(), QColor(0xd4, 0xd0, 0xc8)), QStringLiteral("strip_bg.png"), 8);
    Save(OnBackground(images.SymbolStrip(), QColor(0xd4, 0xd0, 0xc8)), QStringLiteral("strip_fg.png"), 4);
}

// Every key symbol on every plate colour, enabled on the left half, disabled on the right.
TEST(Gallery, EveryKeyOnEveryPlate)
{
    const auto &images = ui::TWenBtnImages::Instance();
    constexpr int cellW = ui::kPlateWidth + 4, cellH = ui::kPlateHeight + 4;
    QImage sheet(2 * 9 * cellW + 8, ui::kSymbolRows / 9 * cellH * 1, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xd4, 0xd0, 0xc8));
    QPainter p(&sheet);
    for (int typ = 0; typ < ui::kSymbolRows; ++typ) {
        const int kolor = typ % ui::kPlateRows;
        for (int state = 0; state < 2; ++state) {
            const QPoint at(state * (9 * cellW + 8) + (typ % 9) * cellW + 2, (typ / 9) * cellH + 2);
            p.drawPixmap(at, images.Plate(kolor, state == 0));
            p.drawPixmap(at + QPoint(1, 2), images.Symbol(typ, state == 0));
        }
    }
    p.end();
    Save(sheet, QStringLiteral("keys.png"), 4);
}
