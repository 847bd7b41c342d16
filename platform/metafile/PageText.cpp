#include "platform/metafile/PageText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

struct Piece {
    double y = 0; // baseline in page units
    double left = 0;
    double right = 0;
    double height = 0; // em height in page units
    double ascent = 0;
    double descent = 0;
    QString text;
};

// Whether b's baseline lies within the body of a's letters (from three quarters of the ascent above
// the baseline to the descent below it): a superscript or subscript stays on the line it belongs to,
// while the next line's baseline is further away than that.
bool Within(const Piece &a, const Piece &b)
{
    return b.y >= a.y - 0.75 * a.ascent && b.y <= a.y + a.descent;
}

bool Visible(const QPointF &p, ClipMode clipMode, const QRectF &rect, const QPainterPath &path)
{
    if (clipMode == ClipMode::Rect)
        return p.x() >= rect.left() - 0.5 && p.x() <= rect.right() + 0.5 && p.y() >= rect.top() - 0.5 &&
               p.y() <= rect.bottom() + 0.5;
    if (clipMode == ClipMode::Path)
        return path.contains(p);
    return true;
}

// Cuts a run into the pieces that show, in page units; a glyph counts as shown when its baseline
// start or middle lies inside the clip.
void AddRun(const MetaRecord &r, const QTransform &world, ClipMode clipMode, const QRectF &clipRect,
            const QPainterPath &clipPath, std::vector<Piece> &pieces)
{
    const QList<uint> codes = r.text.toUcs4();
    if (codes.size() != r.glyphs.size() || codes.isEmpty())
        return;
    const double xs = r.face->XScale();
    const double scale = std::sqrt(std::abs(world.determinant()));
    const double height = r.face->PixelSize() * scale;
    Piece piece;
    bool open = false;
    auto close = [&] {
        if (open && !piece.text.trimmed().isEmpty())
            pieces.push_back(piece);
        open = false;
        piece.text.clear();
    };
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const double advance = r.face->Advance(quint16(r.glyphs[i])) * xs;
        const QPointF start = world.map(r.positions[i]);
        const QPointF end = world.map(r.positions[i] + QPointF(advance, 0));
        const QPointF middle = (start + end) / 2;
        if (!Visible(start, clipMode, clipRect, clipPath) && !Visible(middle, clipMode, clipRect, clipPath)) {
            close();
            continue;
        }
        if (!open) {
            piece.y = start.y();
            piece.left = start.x();
            piece.height = height;
            piece.ascent = r.face->AscentF() * scale;
            piece.descent = r.face->DescentF() * scale;
            open = true;
        }
        piece.right = end.x();
        const char32_t c = codes[i];
        piece.text += QString::fromUcs4(&c, 1);
    }
    close();
}

} // namespace

QString PageText(const PageMetafile &page)
{
    return PageText(page, QLatin1Char(' '));
}

QString PageText(const PageMetafile &page, QChar gap)
{
    std::vector<Piece> pieces;
    QTransform world;
    ClipMode clipMode = ClipMode::None;
    QRectF clipRect;
    QPainterPath clipPath;
    page.Visit([&](MetaRecord &r) {
        switch (r.type) {
        case EmrSetWorldTransform:
            world = r.transform;
            break;
        case EmrExtSelectClipRgn:
            clipMode = ClipModeOf(r.value).value_or(ClipMode::None);
            clipRect = r.rect;
            clipPath = r.path;
            break;
        case EmrExtTextOutW:
            if (r.face)
                AddRun(r, world, clipMode, clipRect, clipPath, pieces);
            break;
        default:
            break;
        }
        return true;
    });

    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece &a, const Piece &b) { return a.y < b.y; });
    QString out;
    size_t i = 0;
    while (i < pieces.size()) {
        // A line: the pieces, in baseline order, that share it with its tallest piece so far.
        size_t anchor = i;
        size_t end = i + 1;
        for (; end < pieces.size(); ++end) {
            if (!Within(pieces[anchor], pieces[end]) && !Within(pieces[end], pieces[anchor]))
                break;
            if (pieces[end].height > pieces[anchor].height)
                anchor = end;
        }
        std::vector<Piece> line(pieces.begin() + qsizetype(i), pieces.begin() + qsizetype(end));
        std::stable_sort(line.begin(), line.end(), [](const Piece &a, const Piece &b) { return a.left < b.left; });
        QString text;
        double right = 0;
        for (size_t k = 0; k < line.size(); ++k) {
            // Runs that stand apart are separate words or fields; runs that touch are one word in
            // changing formats.
            if (k > 0 && line[k].left - right > line[k].height / 20 && !text.endsWith(u' ') &&
                !line[k].text.startsWith(u' '))
                text += gap;
            text += line[k].text;
            right = std::max(right, line[k].right);
        }
        while (text.endsWith(u' '))
            text.chop(1);
        out += text;
        out += u'\n';
        i = end;
    }
    return out;
}

} // namespace platform
