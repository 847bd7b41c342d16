#include "ui/CaptionButton.h"

#include "ui/WinFonts.h"

#include <QPainter>

namespace {

const QColor kFace(192, 192, 192);
const QColor kShadow(128, 128, 128);

// The symbols are drawn pixel by pixel, as the symbol font draws them at this size: crisp lines,
// no smoothing.
void Fill(QPainter &p, int x, int y, int w, int h, const QColor &ink)
{
    p.fillRect(QRect(x, y, w, h), ink);
}

} // namespace

void DrawCaptionGlyph(QPainter &p, const QRect &box, QChar glyph, const QColor &ink)
{
    const int cx = box.left() + box.width() / 2;
    const int cy = box.top() + box.height() / 2;
    switch (glyph.unicode()) {
    case u'0': // minimize: a short bar on the base line
        Fill(p, cx - 4, cy + 2, 6, 2, ink);
        break;
    case u'1': // maximize: a window with a thick title line
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(cx - 5, cy - 5, 8, 8));
        Fill(p, cx - 5, cy - 4, 9, 1, ink);
        break;
    case u'2': // restore: two overlapping windows
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(cx - 3, cy - 5, 5, 4));
        Fill(p, cx - 3, cy - 4, 6, 1, ink);
        p.fillRect(QRect(cx - 5, cy - 2, 6, 6), kFace);
        p.drawRect(QRect(cx - 5, cy - 2, 5, 5));
        Fill(p, cx - 5, cy - 1, 6, 1, ink);
        break;
    case u'r': // close: a cross two pixels wide
        for (int i = 0; i < 6; ++i) {
            Fill(p, cx - 4 + i, cy - 3 + i, 2, 1, ink);
            Fill(p, cx + 1 - i, cy - 3 + i, 2, 1, ink);
        }
        break;
    case u's': { // help: a question mark
        QFont font = WinFont(QStringLiteral("Arial"), 11, true);
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    default:
        break;
    }
}

TCaptionButton::TCaptionButton(QChar glyph, const QString &hint, QWidget *parent) : QToolButton(parent)
{
    setText(glyph);
    setToolTip(hint);
    setFocusPolicy(Qt::NoFocus);
    resize(17, 15);
}

void TCaptionButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    const bool down = isDown() || isChecked();
    p.fillRect(r, kFace);
    // Two-step bevel: white and grey inside, black outside on the shadow sides; inverted when down.
    const QColor outerLight = down ? Qt::black : kFace, outerDark = down ? Qt::white : Qt::black;
    const QColor innerLight = down ? kShadow : Qt::white, innerDark = down ? kFace : kShadow;
    Fill(p, r.left(), r.top(), r.width(), 1, outerLight);
    Fill(p, r.left(), r.top(), 1, r.height(), outerLight);
    Fill(p, r.left(), r.bottom(), r.width(), 1, outerDark);
    Fill(p, r.right(), r.top(), 1, r.height(), outerDark);
    const QRect in = r.adjusted(1, 1, -1, -1);
    Fill(p, in.left(), in.top(), in.width(), 1, innerLight);
    Fill(p, in.left(), in.top(), 1, in.height(), innerLight);
    Fill(p, in.left(), in.bottom(), in.width(), 1, innerDark);
    Fill(p, in.right(), in.top(), 1, in.height(), innerDark);
    const QRect box = r.translated(down ? 1 : 0, down ? 1 : 0);
    const QChar glyph = text().isEmpty() ? QChar() : text().at(0);
    if (isEnabled()) {
        DrawCaptionGlyph(p, box, glyph, Qt::black);
    } else {
        // Disabled: embossed, white under grey.
        DrawCaptionGlyph(p, box.translated(1, 1), glyph, Qt::white);
        DrawCaptionGlyph(p, box, glyph, kShadow);
    }
}
