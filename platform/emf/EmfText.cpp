#include "platform/emf/EmfPlayer_p.h"

#include "platform/emf/EmfFaces.h"
#include "platform/text/CodePage.h"
#include "platform/text/FontFallback.h"

#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <cmath>
#include <numbers>

namespace platform::emf {
namespace {

// Glyphs are drawn at a whole pixel size no bigger than this and scaled up from there.
constexpr int kMaxPixelSize = 512;

QFont PictureFont(const QString &family, int pixelSize, int weight, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(std::clamp(weight == 0 ? 400 : weight, 1, 1000)));
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QRawFont RawFont(const QString &family, int pixelSize, int weight, bool italic)
{
    // Building a raw font from a QFont costs a font lookup; pictures reuse a handful of fonts.
    thread_local QHash<QString, QRawFont> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(family).arg(pixelSize).arg(weight).arg(italic);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QRawFont raw = QRawFont::fromFont(PictureFont(family, pixelSize, weight, italic));
    if (cache.size() > 128)
        cache.clear();
    cache.insert(key, raw);
    return raw;
}

double Length(const QPointF &v)
{
    return std::hypot(v.x(), v.y());
}

} // namespace

void Player::ExtTextOut(const Record &r, bool wide)
{
    auto mode = r.U32(24);
    if (mode)
        DrawText(r, 36, wide, int(*mode));
}

void Player::PolyTextOut(const Record &r, bool wide)
{
    auto mode = r.U32(24), count = r.U32(36);
    if (!mode || !count || *count > r.Size() / 40)
        return;
    for (quint32 i = 0; i < *count && !stopped_; ++i)
        DrawText(r, 40 + 40 * quint64(i), wide, int(*mode));
}

void Player::SmallTextOut(const Record &r)
{
    auto x = r.I32(8), y = r.I32(12);
    auto count = r.U32(16), options = r.U32(20), mode = r.U32(24);
    if (!x || !y || !count || !options || !mode || *count > r.Size())
        return;
    std::optional<Record::Edges> rect;
    quint64 at = 36;
    if (!(*options & ETO_NO_RECT)) {
        rect = r.RectL(36);
        at = 52;
    }
    const bool narrow = *options & ETO_SMALL_CHARS;
    const quint64 bytes = quint64(*count) * (narrow ? 1 : 2);
    if (!r.Has(at, bytes))
        return;
    const char *s = reinterpret_cast<const char *>(r.Data() + at);
    QString text;
    if (narrow)
        text = *options & ETO_GLYPH_INDEX ? QString::fromLatin1(s, qsizetype(*count))
                                          : DecodeCharset(QByteArray(s, qsizetype(*count)), dc_.font.charset);
    else
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(s), qsizetype(*count));
    DrawString(text, *options & ETO_GLYPH_INDEX, nullptr, QPointF(*x, *y), *options, rect, int(*mode));
}

void Player::DrawText(const Record &r, quint64 at, bool wide, int graphicsMode)
{
    auto ref = r.PointL(at);
    auto count = r.U32(at + 8), offString = r.U32(at + 12), options = r.U32(at + 16);
    if (!ref || !count || !offString || !options)
        return;
    const bool noRect = *options & ETO_NO_RECT;
    std::optional<Record::Edges> rect;
    if (!noRect)
        rect = r.RectL(at + 20);
    auto offDx = r.U32(at + (noRect ? 20 : 36));
    const quint64 bytes = quint64(*count) * (wide ? 2 : 1);
    if (*count > r.Size() || !r.Has(*offString, bytes) || !Spend(*count))
        return;
    const char *s = reinterpret_cast<const char *>(r.Data() + *offString);
    QString text;
    const bool glyphs = *options & ETO_GLYPH_INDEX;
    if (wide)
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(s), qsizetype(*count));
    else
        text = glyphs ? QString::fromLatin1(s, qsizetype(*count))
                      : DecodeCharset(QByteArray(s, qsizetype(*count)), dc_.font.charset);
    // The spacing array: one advance a character, or an x and y pair with ETO_PDY.
    QList<QPointF> dx;
    const bool pdy = *options & ETO_PDY;
    const quint64 dxBytes = quint64(*count) * (pdy ? 8 : 4);
    if (offDx && *offDx && r.Has(*offDx, dxBytes)) {
        dx.reserve(qsizetype(*count));
        for (quint32 i = 0; i < *count; ++i) {
            const quint64 o = *offDx + quint64(i) * (pdy ? 8 : 4);
            dx.append(QPointF(*r.I32(o), pdy ? *r.I32(o + 4) : 0));
        }
    }
    DrawString(text, glyphs, dx.isEmpty() ? nullptr : &dx, *ref, *options, rect, graphicsMode);
}

void Player::DrawString(const QString &text, bool glyphIndexes, const QList<QPointF> *dx, QPointF reference,
                        quint32 options, const std::optional<Record::Edges> &rect, int graphicsMode)
{
    if (!BeginCopyDraw())
        return;
    const QTransform t = p_.worldTransform();
    QRectF box;
    if (rect)
        box = QRectF(QPointF(rect->left, rect->top), QPointF(rect->right, rect->bottom)).normalized();
    if ((options & ETO_OPAQUE) && rect && !inPath_)
        p_.fillRect(box, dc_.bkColor);
    if (text.isEmpty())
        return;

    const bool updateCp = dc_.textAlign & TA_UPDATECP;
    if (updateCp)
        reference = dc_.current;
    const Font &font = dc_.font;
    const FaceInfo face = MapFace(font.face, font.pitchAndFamily);
    const QPointF origin = t.map(reference);
    const QPointF ux = t.map(QPointF(1, 0)) - t.map(QPointF(0, 0));
    const QPointF uy = t.map(QPointF(0, 1)) - t.map(QPointF(0, 0));
    const double sx = Length(ux), sy = Length(uy);
    if (!(sx > 0 && sy > 0) || !std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(origin.x()) ||
        !std::isfinite(origin.y()))
        return;

    // The character height in device pixels: a negative height is the em, a positive one the cell.
    double emDevice;
    if (font.height < 0)
        emDevice = -double(font.height) * sy;
    else if (font.height > 0)
        emDevice = font.height / face.cell * sy;
    else
        emDevice = 12 * Length(base_.map(QPointF(0, 1)) - base_.map(QPointF(0, 0)));
    if (!(emDevice > 0.05) || emDevice > 1e5)
        return;
    const int pixelSize = std::clamp(int(std::lround(emDevice)), 1, kMaxPixelSize);
    const double k = emDevice / pixelSize;
    double widthScale = 1;
    if (font.width > 0)
        widthScale = std::clamp(font.width * sx / (face.avgWidth * emDevice), 0.05, 20.0);

    const QRawFont raw = RawFont(face.family, pixelSize, font.weight, font.italic);
    if (!raw.isValid())
        return;
    QList<quint32> glyphs;
    glyphs.reserve(text.size());
    if (glyphIndexes) {
        // Glyph indexes were written against the original face; the Liberation faces keep the
        // standard glyph order of the faces they stand in for, so the Latin letters match.
        // Past the face's glyph count an index would only make the font engine complain.
        const QByteArray maxp = raw.fontTable("maxp");
        const quint32 count = maxp.size() >= 6 ? quint32(uchar(maxp[4]) << 8 | uchar(maxp[5])) : 0;
        for (QChar c : text)
            glyphs.append(c.unicode() < count ? c.unicode() : 0);
    } else {
        for (QChar c : text) {
            quint32 g = 0;
            int n = 1;
            if (!c.isSurrogate())
                raw.glyphIndexesForChars(&c, 1, &g, &n);
            glyphs.append(g);
        }
    }
    // Characters the face has no glyph for come from the face the system falls back to (Hangul of a
    // Korean face, say); fonts[source[i]] draws glyph i.
    QList<QRawFont> fonts{raw};
    QList<quint8> source(glyphs.size(), 0);
    if (!glyphIndexes) {
        std::shared_ptr<const FontFace> base;
        QList<const FontFace *> used;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (glyphs[i] != 0 || c.isSurrogate() || c.unicode() < 0x20 || used.size() >= 255)
                continue;
            if (!base)
                base = FontFace::ForQFont(PictureFont(face.family, pixelSize, font.weight, font.italic));
            const std::shared_ptr<const FontFace> other = FallbackFace(*base, c.unicode());
            if (!other)
                continue;
            qsizetype slot = used.indexOf(other.get());
            if (slot < 0) {
                used.append(other.get());
                fonts.append(other->RawFont());
                slot = used.size() - 1;
            }
            source[i] = quint8(slot + 1);
            glyphs[i] = other->Lookup(c.unicode()).index;
        }
    }

    // Positions in the text frame: x along the baseline in font pixels before the width scale.
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    double x = 0, y = 0;
    QList<QPointF> advances;
    if (!dx) {
        advances.resize(glyphs.size());
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const quint32 g = glyphs[i];
            fonts[source[i]].advancesForGlyphIndexes(&g, &advances[i], 1);
        }
    }
    const double ySign = t.determinant() < 0 ? -1 : 1;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        positions.append(QPointF(x, y));
        if (dx) {
            const QPointF d = i < dx->size() ? dx->at(i) : QPointF();
            x += d.x() * sx / (k * widthScale);
            y -= d.y() * sy * ySign / k;
        } else {
            x += advances.value(i).x();
        }
    }
    const double width = x;
    double shift = 0;
    switch (dc_.textAlign & TA_CENTER) {
    case TA_RIGHT:
        shift = -width;
        break;
    case TA_CENTER:
        shift = -width / 2;
        break;
    default:
        break;
    }
    double baseline = 0;
    if ((dc_.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (dc_.textAlign & TA_BOTTOM)
        baseline = -raw.descent();
    else
        baseline = raw.ascent();
    for (QPointF &p : positions)
        p += QPointF(shift, baseline);

    // The frame: glyphs stay upright; a world rotation turns them only in the advanced mode.
    const double worldAngle = graphicsMode == GM_ADVANCED ? std::atan2(ux.y(), ux.x()) : 0;
    const double angle = worldAngle - font.escapement * std::numbers::pi / 1800;
    QTransform frame;
    frame.translate(origin.x(), origin.y());
    frame.rotateRadians(angle);
    frame.scale(k * widthScale, k);

    if (updateCp) {
        const double advance = width * k * widthScale / sx;
        const int align = dc_.textAlign & TA_CENTER;
        if (align == 0)
            dc_.current.rx() += advance;
        else if (align == TA_RIGHT)
            dc_.current.rx() -= advance;
    }
    if (!Spend(glyphs.size() * 4))
        return;

    if (inPath_) {
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            path_.addPath(frame.map(fonts[source[i]].pathForGlyph(glyphs[i]).translated(positions[i])));
        return;
    }
    if ((options & ETO_CLIPPED) && rect) {
        p_.save();
        p_.setClipRect(box, Qt::IntersectClip);
    }
    p_.setWorldTransform(frame);
    if (dc_.bkMode == OPAQUE && !(options & ETO_OPAQUE))
        p_.fillRect(QRectF(shift, baseline - raw.ascent(), width, raw.ascent() + raw.descent()), dc_.bkColor);
    // Qt's own opaque mode would paint the glyph cells over the glyphs: the cell is filled above.
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.setPen(dc_.textColor);
    bool decorated = false;
    for (qsizetype f = 0; f < fonts.size(); ++f) {
        QGlyphRun run;
        run.setRawFont(fonts[f]);
        if (fonts.size() == 1) {
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
        } else {
            QList<quint32> some;
            QList<QPointF> at;
            for (qsizetype i = 0; i < glyphs.size(); ++i)
                if (source[i] == f) {
                    some.append(glyphs[i]);
                    at.append(positions[i]);
                }
            run.setGlyphIndexes(some);
            run.setPositions(at);
        }
        // A face no character ended up in gives an empty run, which Qt cannot draw.
        if (run.glyphIndexes().isEmpty())
            continue;
        // The decoration bars go with the first run drawn, once along the whole line.
        run.setUnderline(!decorated && font.underline);
        run.setStrikeOut(!decorated && font.strikeOut);
        decorated = true;
        p_.drawGlyphRun(QPointF(0, 0), run);
    }
    if ((options & ETO_CLIPPED) && rect)
        p_.restore();
}

} // namespace platform::emf
