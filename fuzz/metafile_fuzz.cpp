// Drives a painter with arbitrary state changes and drawing (transforms, saved states, rectangular
// clips, pens, brushes, shapes, page text) both on a page metafile and straight onto an image, then
// plays the page: the two pictures must agree, whatever the order of the calls.
#include "platform/metafile/PageMetafile.h"
#include "platform/text/DrawText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <vector>

using namespace platform;

// fontconfig keeps a cache it never frees when a face name sends it looking: not ours to fix.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

namespace {

constexpr int kW = 160;
constexpr int kH = 120;

struct Reader {
    const uint8_t *p;
    size_t n;
    bool More() const { return n > 0; }
    int Byte()
    {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    int Coord() { return Byte() % 200 - 20; }
};

void Paint(QPainter &p, const uint8_t *data, size_t size)
{
    static const TFont font = CreateFont(-14, -6, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, QStringLiteral("Arial"));
    static const QColor colours[] = {Qt::black, Qt::red, QColor(0, 128, 0), Qt::blue, QColor(128, 128, 128, 128)};
    Reader r{data, size};
    int depth = 0;
    // Glyphs above Qt's glyph cache size are filled as outlines, and overlapping outlines of one run
    // blend differently from separate runs; keep text within the cached sizes (scale up to 3).
    std::vector<double> scales{1.0};
    for (int op = 0; r.More() && op < 64; ++op) {
        switch (r.Byte() % 12) {
        case 0:
            p.save();
            scales.push_back(scales.back());
            ++depth;
            break;
        case 1:
            if (depth > 0) {
                p.restore();
                scales.pop_back();
                --depth;
            }
            break;
        case 2:
            p.translate(r.Coord(), r.Coord());
            break;
        case 3: {
            const double sx = 0.5 + r.Byte() % 4 * 0.5;
            const double sy = 0.5 + r.Byte() % 4 * 0.5;
            if (scales.back() * std::max(sx, sy) <= 3.0) {
                p.scale(sx, sy);
                scales.back() *= std::max(sx, sy);
            }
            break;
        }
        case 4: {
            // Not Qt::NoClip: Qt 6.4's raster engine keeps using the old clip after it for some
            // drawing, so the direct picture would be the wrong one. setClipping(false) is below.
            const Qt::ClipOperation clipOp = r.Byte() % 2 ? Qt::ReplaceClip : Qt::IntersectClip;
            p.setClipRect(QRect(r.Coord(), r.Coord(), r.Byte() % 120, r.Byte() % 120), clipOp);
            break;
        }
        case 5:
            p.setClipping(r.Byte() % 2);
            break;
        case 6:
            // No Qt::NoPen: a page fills whole-unit rectangles without a pen as fillRect does, which
            // rounds differently from drawRect under fractional transforms.
            p.setPen(QPen(colours[r.Byte() % 5], r.Byte() % 4, Qt::PenStyle(1 + r.Byte() % 5)));
            break;
        case 7:
            p.setBrush(QBrush(colours[r.Byte() % 5], Qt::BrushStyle(r.Byte() % 15)));
            break;
        case 8:
            p.drawRect(QRect(r.Coord(), r.Coord(), r.Byte() % 100, r.Byte() % 100));
            break;
        case 9:
            p.drawLine(r.Coord(), r.Coord(), r.Coord(), r.Coord());
            break;
        case 10:
            p.fillRect(QRect(r.Coord(), r.Coord(), r.Byte() % 100, r.Byte() % 100), colours[r.Byte() % 5]);
            break;
        case 11: {
            TRect rect{r.Coord(), r.Coord(), 0, 0};
            rect.Right = rect.Left + r.Byte() % 120;
            rect.Bottom = rect.Top + r.Byte() % 60;
            const unsigned flags = unsigned(r.Byte()) & (DT_RIGHT | DT_CENTER | DT_WORDBREAK | DT_NOCLIP);
            TFont coloured = font;
            coloured.SetColor(colours[r.Byte() % 5]);
            DrawTextEx(&p, coloured, QStringLiteral("Wenoglad kot"), rect, flags);
            break;
        }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QImage direct(kW, kH, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::white);
    {
        QPainter p(&direct);
        Paint(p, data, size);
    }
    PageMetafile page(QSize(kW, kH));
    {
        QPainter p(&page);
        Paint(p, data, size);
    }
    QImage played(kW, kH, QImage::Format_ARGB32_Premultiplied);
    played.fill(Qt::white);
    {
        QPainter p(&played);
        page.Play(p, QRectF(0, 0, kW, kH));
    }
    if (played != direct)
        __builtin_trap();
    return 0;
}
