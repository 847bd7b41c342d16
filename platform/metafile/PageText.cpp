#include "platform/metafile/PageText.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

struct Piece {
    double y = 0; // baseline in page units
    double left = 0;
    double right = 0;
    double height = 0; // em height in page units
    double ascent = 0;
    double descent = 0;
    qsizetype from = 0; // the piece's characters in the page's character store
    qsizetype size = 0;
};

// The pieces of a page and their characters, all in one string: a string a piece would cost an
// allocation a run. With boxes asked for, spans holds each character's left and right edge, in
// step with chars.
struct Pieces {
    std::vector<Piece> pieces;
    QString chars;
    std::vector<std::pair<float, float>> spans;

    QStringView Text(const Piece &piece) const { return QStringView(chars).mid(piece.from, piece.size); }
};

// Whether b's baseline lies within the body of a's letters (from three quarters of the ascent above
// the baseline to the descent below it): a superscript or subscript stays on the line it belongs to,
// while the next line's baseline is further away than that.
bool Within(const Piece &a, const Piece &b)
{
    return b.y >= a.y - 0.75 * a.ascent && b.y <= a.y + a.descent;
}

bool AllBlank(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

struct Clip {
    ClipMode mode = ClipMode::None;
    QRectF rect;
    QPainterPath path;

    bool Shows(const QPointF &p) const
    {
        if (mode == ClipMode::Rect)
            return p.x() >= rect.left() - 0.5 && p.x() <= rect.right() + 0.5 && p.y() >= rect.top() - 0.5 &&
                   p.y() <= rect.bottom() + 0.5;
        if (mode == ClipMode::Path)
            return path.contains(p);
        return true;
    }

    // Whether every point of rect shows (a path is not asked: the answer would cost more than it saves).
    bool ShowsAll(const QRectF &r) const
    {
        if (mode == ClipMode::Rect)
            return r.left() >= rect.left() - 0.5 && r.right() <= rect.right() + 0.5 && r.top() >= rect.top() - 0.5 &&
                   r.bottom() <= rect.bottom() + 0.5;
        return mode == ClipMode::None;
    }
};

qsizetype CodePoints(const QString &text)
{
    qsizetype n = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate())
            --n, ++i;
    return n;
}

// The baseline points of a run's glyphs, first starts to last end, in logical units.
QRectF BaselineBounds(const MetaRecord &r, double lastAdvance)
{
    double left = r.positions.front().x(), right = left, top = r.positions.front().y(), bottom = top;
    for (const QPointF &p : r.positions) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    right = std::max(right, r.positions.back().x() + lastAdvance);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// Cuts a run into the pieces that show, in page units; a glyph counts as shown when its baseline
// start or middle lies inside the clip. The run's text holds one code point per glyph.
void AddRun(const MetaRecord &r, const QTransform &world, const Clip &clip, bool boxes, Pieces &out)
{
    const QString &text = r.text;
    const qsizetype glyphs = r.glyphs.size();
    if (glyphs == 0 || r.positions.size() != glyphs || CodePoints(text) != glyphs)
        return;
    const double xs = r.face->XScale();
    const double scale = std::sqrt(std::abs(world.determinant()));
    Piece piece;
    auto opening = [&](const QPointF &start) {
        piece.y = start.y();
        piece.left = start.x();
        piece.height = r.face->PixelSize() * scale;
        piece.ascent = r.face->AscentF() * scale;
        piece.descent = r.face->DescentF() * scale;
        piece.from = out.chars.size();
    };
    // Most runs show whole: without boxes to place, one look at their bounds does.
    const double lastAdvance = r.face->Advance(quint16(r.glyphs.back())) * xs;
    if (!boxes && clip.ShowsAll(world.mapRect(BaselineBounds(r, lastAdvance)))) {
        if (AllBlank(text))
            return;
        opening(world.map(r.positions.front()));
        piece.right = world.map(r.positions.back() + QPointF(lastAdvance, 0)).x();
        out.chars += text;
        piece.size = text.size();
        out.pieces.push_back(piece);
        return;
    }
    bool open = false;
    auto close = [&] {
        if (open && !AllBlank(out.Text(piece))) {
            out.pieces.push_back(piece);
        } else if (open) {
            out.chars.truncate(piece.from);
            if (boxes)
                out.spans.resize(size_t(piece.from));
        }
        open = false;
        piece = Piece();
    };
    qsizetype at = 0; // in text
    for (qsizetype i = 0; i < glyphs; ++i) {
        const qsizetype width =
            at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2 : 1;
        const qsizetype from = at;
        at += width;
        const double advance = r.face->Advance(quint16(r.glyphs[i])) * xs;
        const QPointF start = world.map(r.positions[i]);
        const QPointF end = world.map(r.positions[i] + QPointF(advance, 0));
        if (!clip.Shows(start) && !clip.Shows((start + end) / 2)) {
            close();
            continue;
        }
        if (!open) {
            opening(start);
            open = true;
        }
        piece.right = end.x();
        out.chars.append(text.constData() + from, width);
        piece.size += width;
        if (boxes)
            out.spans.insert(out.spans.end(), size_t(width), {float(start.x()), float(end.x())});
    }
    close();
}

// A copy of path that shares nothing with it. A path fills its bounds in on first use, and the
// page may be read on another thread than the one recording later pages, whose clip may still
// share the path: the copy keeps those writes to itself.
QPainterPath Unshared(const QPainterPath &path)
{
    QPainterPath own;
    own.addPath(path);
    own.setFillRule(path.fillRule());
    return own;
}

Pieces ReadPieces(const PageMetafile &page, bool boxes)
{
    Pieces out;
    out.pieces.reserve(size_t(page.RecordCount())); // mostly a piece a text record, and fewer
    out.chars.reserve(4096);
    QTransform world;
    Clip clip;
    page.Visit([&](MetaRecord &r) {
        switch (r.type) {
        case EmrSetWorldTransform:
            world = r.transform;
            break;
        case EmrExtSelectClipRgn:
            clip.mode = ClipModeOf(r.value).value_or(ClipMode::None);
            clip.rect = r.rect;
            clip.path = Unshared(r.path);
            break;
        case EmrExtTextOutW:
            if (r.face)
                AddRun(r, world, clip, boxes, out);
            break;
        default:
            break;
        }
        return true;
    });
    return out;
}

// Sorts the pieces into reading order and hands each line over as the range of pieces on it and
// the tallest piece among them.
template <typename EachLine> void ForEachLine(std::vector<Piece> &pieces, EachLine &&each)
{
    // Records mostly come in reading order already; sorting is only for those that do not.
    const auto byBaseline = [](const Piece &a, const Piece &b) { return a.y < b.y; };
    if (!std::is_sorted(pieces.begin(), pieces.end(), byBaseline))
        std::stable_sort(pieces.begin(), pieces.end(), byBaseline);
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
        const auto byLeft = [](const Piece &a, const Piece &b) { return a.left < b.left; };
        const auto first = pieces.begin() + qsizetype(i), last = pieces.begin() + qsizetype(end);
        if (!std::is_sorted(first, last, byLeft))
            std::stable_sort(first, last, byLeft);
        each(i, end, pieces[anchor]);
        i = end;
    }
}

// Appends the text of the pieces [first, last) of one line to text, and with spans their
// characters' edges; trailing blanks are left out.
void AppendLine(const Pieces &read, size_t first, size_t last, QChar gap, QString &text,
                std::vector<std::pair<float, float>> *spans)
{
    const qsizetype lineStart = text.size();
    double right = 0;
    for (size_t k = first; k < last; ++k) {
        const Piece &piece = read.pieces[k];
        // Runs that stand apart are separate words or fields; runs that touch are one word in
        // changing formats.
        const QStringView pieceText = read.Text(piece);
        if (k > first && piece.left - right > piece.height / 20 && !text.endsWith(u' ') &&
            !pieceText.startsWith(u' ')) {
            text += gap;
            if (spans)
                spans->emplace_back(float(right), float(right));
        }
        text += pieceText;
        if (spans) {
            const auto from = read.spans.begin() + piece.from;
            spans->insert(spans->end(), from, from + piece.size);
        }
        right = k > first ? std::max(right, piece.right) : piece.right;
    }
    while (text.size() > lineStart && text.endsWith(u' ')) {
        text.chop(1);
        if (spans)
            spans->pop_back();
    }
}

} // namespace

std::vector<PageTextLine> PageTextLines(const PageMetafile &page, QChar gap, bool boxes)
{
    Pieces read = ReadPieces(page, boxes);
    std::vector<PageTextLine> lines;
    ForEachLine(read.pieces, [&](size_t first, size_t last, const Piece &tallest) {
        PageTextLine line;
        qsizetype size = 0;
        for (size_t k = first; k < last; ++k)
            size += read.pieces[k].size + 1;
        line.text.reserve(size);
        line.top = tallest.y - tallest.ascent;
        line.bottom = tallest.y + tallest.descent;
        AppendLine(read, first, last, gap, line.text, boxes ? &line.spans : nullptr);
        lines.push_back(std::move(line));
    });
    return lines;
}

QString PageText(const PageMetafile &page)
{
    return PageText(page, QLatin1Char(' '));
}

QString PageText(const PageMetafile &page, QChar gap)
{
    // Written straight into one string: a string a line would cost an allocation a line.
    Pieces read = ReadPieces(page, false);
    QString out;
    out.reserve(read.chars.size() + 2 * qsizetype(read.pieces.size()));
    ForEachLine(read.pieces, [&](size_t first, size_t last, const Piece &) {
        AppendLine(read, first, last, gap, out, nullptr);
        out += u'\n';
    });
    return out;
}

QString JoinLines(const std::vector<PageTextLine> &lines)
{
    qsizetype size = 0;
    for (const PageTextLine &line : lines)
        size += line.text.size() + 1;
    QString out;
    out.reserve(size);
    for (const PageTextLine &line : lines) {
        out += line.text;
        out += u'\n';
    }
    return out;
}

PageMatchLine MatchLine(const std::vector<PageTextLine> &lines, const TSearchText &searched, qsizetype position)
{
    const int number = searched.LineOf(position).first;
    if (number < 0 || size_t(number) >= lines.size())
        return {number, {}};
    return {number, QString(lines[size_t(number)].text).replace(kRunGap, u' ')};
}

} // namespace platform
