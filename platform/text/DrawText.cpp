#include "platform/text/DrawText.h"

#include "platform/text/GlyphPainter.h"
#include "platform/text/GlyphRecorder.h"

#include <QPainter>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace platform {

namespace {

struct Line {
    qsizetype start = 0; // in units
    qsizetype end = 0;   // exclusive
    bool ellipsis = false;
};

// A field's text is mostly one line or a few: held in place.
using Lines = QVarLengthArray<Line, 8>;

// SaturatingRound for an int, in double arithmetic: it runs for every character a line is measured
// by, where the extended format's conversions cost more than the rest of the test. The bounds of an
// int are exact in a double, so the result is the same.
int Round(qreal v)
{
    if (std::isnan(v))
        return 0;
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(std::nearbyint(v));
}

// The text split into glyph units with their advances; a code point outside the basic plane takes its
// first UTF-16 unit, the second is an empty unit.
// Held in place for the short texts of most fields, which would otherwise cost four allocations each.
struct Shaped {
    QString text;
    QVarLengthArray<quint16, 64> glyphs;
    QVarLengthArray<bool, 64> visible;
    QVarLengthArray<double, 65> prefix; // prefix[i]: width of units [0, i) in page units, unrounded

    double Width(qsizetype a, qsizetype b) const { return prefix[b] - prefix[a]; }
    QChar At(qsizetype i) const { return text.at(i); }
    qsizetype Size() const { return text.size(); }
};

QString StripPrefixes(const QString &text)
{
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                out += u'&';
            ++i;
            if (i < text.size() && text[i] != u'&')
                out += text[i];
            continue;
        }
        out += text[i];
    }
    return out;
}

Shaped Shape(const FontFace &face, const QString &text, bool lineBreaksVisible)
{
    Shaped s;
    s.text = text;
    const qsizetype n = text.size();
    s.glyphs.resize(n);
    s.visible.resize(n);
    s.prefix.resize(n + 1);
    const double xs = face.XScale();
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i) {
        s.prefix[i] = sum * xs;
        char32_t c = text[i].unicode();
        if (QChar::isLowSurrogate(c) && i > 0 && text[i - 1].isHighSurrogate()) {
            s.visible[i] = false;
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
        if ((c == U'\r' || c == U'\n') && !lineBreaksVisible) {
            s.visible[i] = false;
            continue;
        }
        const FontFace::Glyph g = face.Lookup(c);
        s.glyphs[i] = g.index;
        s.visible[i] = true;
        sum += g.advance;
    }
    s.prefix[n] = sum * xs;
    return s;
}

bool IsBlank(QChar c)
{
    return c == u' ';
}

// One paragraph [start, end) wrapped into lines no wider than width (GDI's word break). Widths
// only grow with the characters added, so every scan stops at the first character past the
// width: each line costs what it holds, and a paragraph wraps in linear time.
void WrapParagraph(const Shaped &s, qsizetype start, qsizetype end, int width, bool editControl, Lines &lines)
{
    auto fits = [&](qsizetype a, qsizetype b) { return Round(s.Width(a, b)) <= width; };
    auto trimEnd = [&](qsizetype a, qsizetype b) {
        while (b > a && IsBlank(s.At(b - 1)))
            --b;
        return b;
    };
    if (start == end) {
        lines.push_back({start, end, false});
        return;
    }
    // The paragraph without its trailing blanks, found once.
    const qsizetype trimmed = trimEnd(start, end);
    qsizetype pos = start;
    while (pos < end) {
        if (fits(pos, std::max(pos, trimmed))) {
            lines.push_back({pos, end, false});
            return;
        }
        // The last blank after which the words before it still fit.
        qsizetype breakAt = -1;
        for (qsizetype i = pos + 1; i < end; ++i) {
            if (!fits(pos, i))
                break; // no later break can fit either
            if (!IsBlank(s.At(i)) || IsBlank(s.At(i - 1)))
                continue;
            if (trimEnd(pos, i) == pos)
                continue; // only blanks so far: they stay with the word that follows
            breakAt = i;
        }
        qsizetype lineEnd;
        if (breakAt >= 0) {
            lineEnd = trimEnd(pos, breakAt);
        } else {
            // The first word alone is too wide.
            qsizetype wordStart = pos;
            while (wordStart < end && IsBlank(s.At(wordStart)))
                ++wordStart;
            if (editControl) {
                // Broken after the last character that fits, at least one character a line.
                lineEnd = pos + 1;
                if (lineEnd < end && !s.visible[lineEnd])
                    ++lineEnd;
                for (qsizetype i = lineEnd + 1; i <= end; ++i) {
                    if (i - 1 >= wordStart && IsBlank(s.At(i - 1)))
                        break; // past the end of the word
                    if (i < end && !s.visible[i])
                        continue;
                    if (!fits(pos, i))
                        break;
                    lineEnd = i;
                }
            } else {
                lineEnd = wordStart;
                while (lineEnd < end && !IsBlank(s.At(lineEnd)))
                    ++lineEnd; // overflows the rectangle
            }
        }
        lines.push_back({pos, lineEnd, false});
        pos = lineEnd;
        while (pos < end && IsBlank(s.At(pos)))
            ++pos;
    }
}

Lines BreakLines(const Shaped &s, unsigned format, int width)
{
    Lines lines;
    const qsizetype n = s.Size();
    if (format & DT_SINGLELINE) {
        lines.push_back({0, n, false});
        return lines;
    }
    qsizetype start = 0;
    while (true) {
        qsizetype end = start;
        while (end < n && s.At(end) != u'\r' && s.At(end) != u'\n')
            ++end;
        if (format & DT_WORDBREAK)
            WrapParagraph(s, start, end, width, (format & DT_EDITCONTROL) != 0, lines);
        else
            lines.push_back({start, end, false});
        if (end >= n)
            break;
        qsizetype next = end + 1;
        if (s.At(end) == u'\r' && next < n && s.At(next) == u'\n')
            ++next;
        if (next >= n)
            break; // a break at the very end opens no further line
        start = next;
    }
    return lines;
}

double LineWidth(const Shaped &s, const Line &line, double ellipsisWidth)
{
    return s.Width(line.start, line.end) + (line.ellipsis ? ellipsisWidth : 0.0);
}

// Shortens the line so that it and "..." fit the width.
void ApplyEllipsis(const Shaped &s, Line &line, int width, double ellipsisWidth)
{
    if (Round(s.Width(line.start, line.end)) <= width)
        return;
    qsizetype end = line.end;
    while (end > line.start && Round(s.Width(line.start, end) + ellipsisWidth) > width)
        --end;
    line.end = end;
    line.ellipsis = true;
}

int TextFlags(const FontFace &face)
{
    return (face.Underline() ? kTextUnderline : 0) | (face.StrikeOut() ? kTextStrikeOut : 0);
}

void EmitLine(QPainter *painter, const TFont &font, const Shaped &s, const Shaped &dots, const Line &line,
              QPointF origin)
{
    // A line of visible units only (most are) hands over the shaped glyphs and text as they are.
    const bool whole =
        !line.ellipsis && std::all_of(s.visible.cbegin() + line.start, s.visible.cbegin() + line.end, std::identity());
    QVarLengthArray<quint16, 256> copied;
    QVarLengthArray<QChar, 256> copiedChars; // one code point per glyph
    if (!whole) {
        for (qsizetype i = line.start; i < line.end; ++i) {
            if (!s.visible[i])
                continue;
            copied.append(s.glyphs[i]);
            copiedChars.append(s.At(i));
            if (s.At(i).isHighSurrogate() && i + 1 < s.Size() && s.At(i + 1).isLowSurrogate())
                copiedChars.append(s.At(i + 1));
        }
        if (line.ellipsis)
            for (qsizetype i = 0; i < dots.Size(); ++i) {
                copied.append(dots.glyphs[i]);
                copiedChars.append(dots.At(i));
            }
    }
    const quint16 *glyphs = whole ? s.glyphs.constData() + line.start : copied.constData();
    const qsizetype count = whole ? line.end - line.start : copied.size();
    const QStringView chars = whole ? QStringView(s.text).sliced(line.start, count)
                                    : QStringView(copiedChars.constData(), copiedChars.size());
    const FontFace &face = font.Face();
    const int flags = TextFlags(face);
    if (count == 0)
        return;
    if (GlyphRecorder *recorder = GlyphRecorder::From(painter)) {
        recorder->RecordText(font.FacePtr(), font.Color(), origin, glyphs, int(count), flags, chars);
        return;
    }
    QList<quint32> ids(count);
    for (qsizetype i = 0; i < count; ++i)
        ids[i] = glyphs[i];
    QList<QPointF> positions;
    NaturalPositions(face, origin, ids.constData(), ids.size(), positions);
    QList<QRectF> decorations;
    if (flags) {
        qreal width = 0;
        for (quint32 g : ids)
            width += face.Advance(quint16(g));
        AddDecorations(face, origin, width * face.XScale(), flags, decorations);
    }
    const QTransform world = painter->worldTransform();
    const QPen pen = painter->pen();
    PaintGlyphs(*painter, font.FacePtr(), font.Color(), world, ids, positions, decorations);
    painter->setPen(pen);
}

// The top of the first line: a single line may sit at the bottom or in the middle of the rectangle.
int FirstLineTop(const TRect &rect, unsigned format, int lineHeight)
{
    if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        return rect.Bottom - lineHeight;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        return rect.Top + (rect.Height() - lineHeight) / 2;
    return rect.Top;
}

// The left end of a line width units wide.
int LineLeft(const TRect &rect, unsigned format, int width)
{
    if (format & DT_RIGHT)
        return rect.Right - width;
    if (format & DT_CENTER)
        return (rect.Left + rect.Right - width) / 2;
    return rect.Left;
}

// What DrawTextEx answers once drawn lines lay down to y: the height of the lines, or with
// DT_BOTTOM or DT_VCENTER (single line) the offset from the rectangle's top to the text's bottom.
int DrawnHeight(const TRect &rect, unsigned format, int y, int drawn, int lineHeight)
{
    if ((format & DT_SINGLELINE) && (format & (DT_BOTTOM | DT_VCENTER)))
        return y - rect.Top;
    return drawn * lineHeight;
}

// The painter clipped to the rectangle while this lives, unless the format says DT_NOCLIP.
class RectClip {
public:
    RectClip(QPainter *painter, const TRect &rect, unsigned format) : painter_((format & DT_NOCLIP) ? nullptr : painter)
    {
        if (!painter_)
            return;
        painter_->save();
        painter_->setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), Qt::IntersectClip);
    }
    ~RectClip()
    {
        if (painter_)
            painter_->restore();
    }
    RectClip(const RectClip &) = delete;
    RectClip &operator=(const RectClip &) = delete;

private:
    QPainter *painter_;
};

// Most fields are one line with no break and nothing to wrap, recorded on a page: their glyphs are
// found and their width summed in one pass, with the sums Shape makes in its order, so that the
// line lands where the general way would put it. Answers nothing for text that needs more (breaks,
// surrogate pairs, a line too wide for its word-wrapped rectangle, empty text).
std::optional<int> RecordOneLine(QPainter &painter, GlyphRecorder &recorder, const TFont &font, const QString &text,
                                 const TRect &rect, unsigned format)
{
    const qsizetype n = text.size();
    if (n == 0)
        return std::nullopt;
    const FontFace &face = font.Face();
    QVarLengthArray<quint16, 256> glyphs(n);
    QVarLengthArray<float, 256> advances(n);
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c == u'\r' || c == u'\n' || QChar::isSurrogate(c))
            return std::nullopt;
        const FontFace::Glyph g = face.Lookup(c);
        glyphs[i] = g.index;
        advances[i] = g.advance;
    }
    // Summed apart from the look-ups, which may call out: the sum stays in a register.
    double sum = 0;
    double lastInk = 0; // the sum after the last character other than a blank
    for (qsizetype i = 0; i < n; ++i) {
        sum += advances[i];
        if (p[i] != u' ')
            lastInk = sum;
    }
    const double xs = face.XScale();
    // Word wrap keeps the line whole when it fits without its trailing blanks.
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && Round(lastInk * xs) > rect.Width())
        return std::nullopt;
    const int lineHeight = face.Height();
    const int y = FirstLineTop(rect, format, lineHeight);
    const int x = LineLeft(rect, format, Round(sum * xs));
    {
        const RectClip clipped(&painter, rect, format);
        recorder.RecordText(font.FacePtr(), font.Color(), QPointF(x, y + face.Ascent()), glyphs.constData(), int(n),
                            TextFlags(face), text);
    }
    return DrawnHeight(rect, format, y + lineHeight, 1, lineHeight);
}

} // namespace

int TextHeight(const TFont &font, const QString &text, int width, unsigned format)
{
    const FontFace &face = font.Face();
    if (format & DT_SINGLELINE)
        return face.Height();
    // Every paragraph is one line when it fits the width whole: counted here with the sums Shape
    // would make, in the same order, so that the test gives the same answer as the wrapping would.
    // Anything else is measured the full way.
    const auto measured = [&] {
        TRect rect{0, 0, width, 0};
        return DrawTextEx(nullptr, font, text, rect, format | DT_CALCRECT);
    };
    if (!(format & DT_NOPREFIX))
        return measured();
    const bool wrapping = (format & DT_WORDBREAK) != 0;
    const double xs = face.XScale();
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    double sum = 0;
    double paragraphStart = 0; // the sum at the paragraph's start
    double lastInk = 0;        // and after its last character other than a blank
    int lines = 1;
    for (qsizetype i = 0;; ++i) {
        if (i == n || p[i] == u'\r' || p[i] == u'\n') {
            if (wrapping && Round(lastInk * xs - paragraphStart * xs) > width)
                return measured();
            if (i == n)
                break;
            if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n')
                ++i;
            if (i + 1 >= n)
                break; // a break at the very end opens no further line
            ++lines;
            paragraphStart = lastInk = sum;
            continue;
        }
        char32_t c = p[i].unicode();
        if (QChar::isLowSurrogate(c) && i > 0 && p[i - 1].isHighSurrogate())
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < n && p[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), p[i + 1].unicode());
        if (!wrapping)
            continue; // only the breaks count
        sum += face.Lookup(c).advance;
        if (c != U' ')
            lastInk = sum;
    }
    return lines * face.Height();
}

int DrawTextEx(QPainter *painter, const TFont &font, const QString &text, TRect &rect, unsigned format)
{
    if (painter && (format & DT_NOPREFIX) && !(format & (DT_CALCRECT | DT_END_ELLIPSIS)))
        if (GlyphRecorder *recorder = GlyphRecorder::From(painter))
            if (const std::optional<int> height = RecordOneLine(*painter, *recorder, font, text, rect, format))
                return *height;

    const FontFace &face = font.Face();
    const int lineHeight = face.Height();
    const int width = rect.Width();
    const QString shownText = (format & DT_NOPREFIX) ? text : StripPrefixes(text);
    const Shaped s = Shape(face, shownText, false);
    // Only an ellipsis draws the dots.
    const Shaped dots = Shape(face, (format & DT_END_ELLIPSIS) ? QStringLiteral("...") : QString(), false);
    const double ellipsisWidth = dots.Width(0, dots.Size());

    Lines lines = BreakLines(s, format, width);
    if ((format & DT_END_ELLIPSIS) && !lines.empty())
        ApplyEllipsis(s, lines.back(), width, ellipsisWidth);

    const bool single = (format & DT_SINGLELINE) != 0;
    if (format & DT_CALCRECT) {
        double widest = 0;
        for (const Line &line : lines)
            widest = std::max(widest, LineWidth(s, line, ellipsisWidth));
        const int height = int(lines.size()) * lineHeight;
        rect.Right = rect.Left + Round(widest);
        rect.Bottom = rect.Top + height;
        return height;
    }

    int y = FirstLineTop(rect, format, lineHeight);
    const bool clip = !(format & DT_NOCLIP);
    const RectClip clipped(painter, rect, format);
    int drawn = 0;
    for (const Line &line : lines) {
        // Clipped text ends with the last line that shows; an edit control hides a partial last line.
        if (clip && !single && drawn > 0 &&
            (y >= rect.Bottom || ((format & DT_EDITCONTROL) && y + lineHeight > rect.Bottom)))
            break;
        const int x = LineLeft(rect, format, Round(LineWidth(s, line, ellipsisWidth)));
        if (painter)
            EmitLine(painter, font, s, dots, line, QPointF(x, y + face.Ascent()));
        y += lineHeight;
        ++drawn;
    }
    return DrawnHeight(rect, format, y, drawn, lineHeight);
}

} // namespace platform
