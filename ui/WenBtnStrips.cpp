#include "ui/WenBtnStrips.h"

#include "ui/WenBtnTyp.h"
#include "ui/WinFonts.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Key-cap colours of the five plates: grey, blue, green, yellow, red. Light enough for the dark
// legends of the symbol strip to read on every one of them.
const QColor kPlateColours[kPlateRows] = {QColor(0xe6, 0xe6, 0xe2), QColor(0xa9, 0xcb, 0xf2), QColor(0xaf, 0xe0, 0xa5),
                                          QColor(0xf6, 0xdf, 0x7e), QColor(0xf3, 0xa8, 0xa2)};

QColor Washed(const QColor &c)
{
    // Disabled plates keep a hint of their colour but lose most of it.
    const int g = qGray(c.rgb());
    const auto mix = [g](int v) { return (v + 3 * g) / 4 + (255 - (v + 3 * g) / 4) / 3; };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

void DrawPlate(QPainter &p, const QRect &cell, const QColor &cap, bool enabled)
{
    p.save();
    p.translate(cell.topLeft());
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor outline = enabled ? QColor(0x4a, 0x4a, 0x4a) : QColor(0x9a, 0x9a, 0x9a);
    // The key's body: its front wall shows as the darker band along the bottom.
    p.setPen(QPen(outline, 1));
    p.setBrush(cap.darker(enabled ? 135 : 115));
    p.drawRoundedRect(QRectF(0.5, 0.5, kPlateWidth - 1, kPlateHeight - 1), 3, 3);
    // The top face, lit from above.
    QLinearGradient face(0, 1, 0, 13);
    face.setColorAt(0, cap.lighter(enabled ? 118 : 106));
    face.setColorAt(1, cap);
    p.setPen(QPen(cap.darker(enabled ? 112 : 104), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(2.5, 1.5, kPlateWidth - 5, 12), 2, 2);
    p.restore();
}

enum class Glyph { Text, Backspace, Enter, Tab, Plus, Minus, AltBackspace, None };

struct Legend {
    Glyph glyph;
    QString text;
};

Legend LegendOf(int typ)
{
    static const char *const letters = "ABCDEFGHIJKLMNOPRSTUWZ";
    static const char *const fkeys[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    if (typ <= static_cast<int>(TWenBtnTyp::sbZ))
        return {Glyph::Text, QString(QLatin1Char(letters[typ]))};
    if (typ <= static_cast<int>(TWenBtnTyp::sbF12))
        return {Glyph::Text, QString::fromLatin1(fkeys[typ - static_cast<int>(TWenBtnTyp::sbF1)])};
    switch (static_cast<TWenBtnTyp>(typ)) {
    case TWenBtnTyp::sbBackspace:
        return {Glyph::Backspace, {}};
    case TWenBtnTyp::sbEnter:
        return {Glyph::Enter, {}};
    case TWenBtnTyp::sbPlus:
        return {Glyph::Plus, {}};
    case TWenBtnTyp::sbMinus:
        return {Glyph::Minus, {}};
    case TWenBtnTyp::sbTab:
        return {Glyph::Tab, {}};
    case TWenBtnTyp::sbGwiazdka:
        return {Glyph::Text, QStringLiteral("*")};
    case TWenBtnTyp::sbAltBkspc:
        return {Glyph::AltBackspace, {}};
    case TWenBtnTyp::sb1:
        return {Glyph::Text, QStringLiteral("1")};
    case TWenBtnTyp::sbSlash:
        return {Glyph::Text, QStringLiteral("/")};
    default:
        return {Glyph::None, {}};
    }
}

void ArrowHeadLeft(QPainterPath &path, qreal x, qreal y, qreal size)
{
    path.moveTo(x + size, y - size);
    path.lineTo(x, y);
    path.lineTo(x + size, y + size);
}

void DrawText(QPainter &p, const QRectF &box, const QString &text)
{
    // The largest bold size that fits the legend area; the asterisk is a small glyph in every
    // face, so it starts bigger. Centred on the ink, not the line box, so every legend sits in
    // the middle of the key.
    const int largest = text == QStringLiteral("*") ? 17 : 11;
    for (int px = largest; px >= 7; --px) {
        QFont font = WinFont(QStringLiteral("Arial"), px, true);
        font.setHintingPreference(QFont::PreferFullHinting);
        const QFontMetricsF fm(font);
        const QRectF ink = fm.tightBoundingRect(text);
        if (ink.width() <= box.width() - 3 || px == 7) {
            p.setFont(font);
            const qreal x = box.left() + (box.width() - ink.width()) / 2 - ink.left();
            const qreal y = box.top() + (box.height() - ink.height()) / 2 - ink.top();
            p.drawText(QPointF(std::round(x), std::round(y)), text);
            return;
        }
    }
}

void DrawLegend(QPainter &p, const QRectF &box, int typ, const QColor &ink)
{
    const Legend legend = LegendOf(typ);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal cx = box.center().x();
    const qreal cy = box.top() + 6.5;
    QPainterPath path;
    switch (legend.glyph) {
    case Glyph::Text:
        DrawText(p, box, legend.text);
        break;
    case Glyph::Backspace:
        path.moveTo(cx + 6, cy);
        path.lineTo(cx - 6, cy);
        ArrowHeadLeft(path, cx - 6, cy, 3);
        break;
    case Glyph::Enter:
        path.moveTo(cx + 5, cy - 4.5);
        path.lineTo(cx + 5, cy + 2);
        path.lineTo(cx - 5, cy + 2);
        ArrowHeadLeft(path, cx - 5, cy + 2, 3);
        break;
    case Glyph::Tab:
        path.moveTo(cx - 6, cy);
        path.lineTo(cx + 4, cy);
        path.moveTo(cx + 1, cy - 3);
        path.lineTo(cx + 4, cy);
        path.lineTo(cx + 1, cy + 3);
        path.moveTo(cx + 6, cy - 4);
        path.lineTo(cx + 6, cy + 4);
        break;
    case Glyph::Plus:
        path.moveTo(cx - 4, cy);
        path.lineTo(cx + 4, cy);
        path.moveTo(cx, cy - 4);
        path.lineTo(cx, cy + 4);
        break;
    case Glyph::Minus:
        path.moveTo(cx - 4, cy);
        path.lineTo(cx + 4, cy);
        break;
    case Glyph::AltBackspace: {
        QFont font = WinFont(QStringLiteral("Arial"), 8, true);
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        const QFontMetricsF fm(font);
        p.drawText(QPointF(box.left() + 1, std::round(cy + fm.capHeight() / 2)), QStringLiteral("Alt"));
        const qreal ax = box.left() + 2 + fm.horizontalAdvance(QStringLiteral("Alt"));
        path.moveTo(box.right() - 1, cy);
        path.lineTo(ax + 1, cy);
        ArrowHeadLeft(path, ax + 1, cy, 2.5);
        break;
    }
    case Glyph::None:
        break;
    }
    p.drawPath(path);
    p.restore();
}

} // namespace

QImage DrawPlateStrip()
{
    QImage strip(2 * kPlateWidth, kPlateRows * kPlateHeight, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    for (int row = 0; row < kPlateRows; ++row) {
        DrawPlate(p, QRect(0, row * kPlateHeight, kPlateWidth, kPlateHeight), kPlateColours[row], true);
        DrawPlate(p, QRect(kPlateWidth, row * kPlateHeight, kPlateWidth, kPlateHeight), Washed(kPlateColours[row]),
                  false);
    }
    return strip;
}

QImage DrawSymbolStrip()
{
    QImage strip(2 * kSymbolWidth, kSymbolRows * kSymbolHeight, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    for (int row = 0; row < kSymbolRows; ++row) {
        const QRectF enabled(0, row * kSymbolHeight, kSymbolWidth, kSymbolHeight);
        p.setClipRect(enabled);
        DrawLegend(p, enabled, row, QColor(0x14, 0x14, 0x1e));
        // Disabled legends are engraved: a light copy below and right, the grey one on top.
        const QRectF disabled = enabled.translated(kSymbolWidth, 0);
        p.setClipRect(disabled);
        DrawLegend(p, disabled.translated(1, 1), row, QColor(0xff, 0xff, 0xff));
        DrawLegend(p, disabled, row, QColor(0x8c, 0x8c, 0x8c));
    }
    return strip;
}

QImage CutCell(const QImage &strip, int column, int row, int cellWidth, int cellHeight)
{
    QImage cell =
        strip.copy(column * cellWidth, row * cellHeight, cellWidth, cellHeight).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = strip.pixel(0, 0);
    for (int y = 0; y < cell.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(cell.scanLine(y));
        for (int x = 0; x < cell.width(); ++x)
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return cell;
}

TWenBtnImages::TWenBtnImages() : plateStrip_(DrawPlateStrip()), symbolStrip_(DrawSymbolStrip())
{
    for (int state = 0; state < 2; ++state) {
        for (int row = 0; row < kPlateRows; ++row)
            plates_[state].push_back(CutCell(plateStrip_, state, row, kPlateWidth, kPlateHeight));
        for (int row = 0; row < kSymbolRows; ++row)
            symbols_[state].push_back(CutCell(symbolStrip_, state, row, kSymbolWidth, kSymbolHeight));
    }
}

const TWenBtnImages &TWenBtnImages::Instance()
{
    static const TWenBtnImages images;
    return images;
}

const QImage &TWenBtnImages::Plate(int kolor, bool enabled) const
{
    return plates_[enabled ? 0 : 1].at(static_cast<size_t>(std::clamp(kolor, 0, kPlateRows - 1)));
}

const QImage &TWenBtnImages::Symbol(int typ, bool enabled) const
{
    return symbols_[enabled ? 0 : 1].at(static_cast<size_t>(std::clamp(typ, 0, kSymbolRows - 1)));
}
