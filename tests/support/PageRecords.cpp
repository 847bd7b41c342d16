#include "PageRecords.h"

#include <QHash>
#include <QPainter>

#include <cmath>

namespace wydtest {

namespace {

QString GlyphsToText(const platform::FontFace &face, const QList<quint32> &glyphs)
{
    static QHash<const platform::FontFace *, QHash<quint32, QChar>> maps;
    QHash<quint32, QChar> &map = maps[&face];
    if (map.isEmpty()) {
        // Latin, Greek and Cyrillic; the lowest code point of a shared glyph wins.
        for (char32_t c = 0x4FF; c >= 0x20; --c) {
            const auto g = face.Lookup(c);
            if (g.index != 0)
                map.insert(g.index, QChar(char16_t(c)));
        }
    }
    QString s;
    for (quint32 g : glyphs)
        s += map.value(g, QChar(u'?'));
    return s;
}

} // namespace

bool TextRun::Visible() const
{
    if (!Clipped)
        return true;
    return Clip.width() > 0 && Clip.height() > 0 && Clip.top() < Top + Height && Clip.bottom() > Top;
}

QString PageRecords::JoinedTexts() const
{
    QStringList parts;
    for (const TextRun &t : Texts)
        parts << t.Text;
    return parts.join(u'|');
}

const TextRun *PageRecords::Find(const QString &text) const
{
    for (const TextRun &t : Texts)
        if (t.Text == text)
            return &t;
    return nullptr;
}

PageRecords ReadPage(const platform::PageMetafile &page)
{
    using namespace platform;
    PageRecords out;
    QImage sink(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sink);
    QColor textColor = Qt::black;
    QColor penColor = Qt::black;
    qreal penWidth = 0;
    bool clipped = false;
    QRectF clip;
    QTransform world;
    page.Enumerate(p, QRectF(0, 0, 8, 8), [&](MetaRecord &r) {
        switch (r.type) {
        case EmrSetTextColor:
            textColor = r.color;
            break;
        case EmrCreatePen:
        case EmrExtCreatePen:
            penColor = r.pen.color();
            penWidth = r.pen.widthF();
            break;
        case EmrSetWorldTransform:
            world = r.transform;
            break;
        case EmrExtSelectClipRgn:
            clipped = ClipModeOf(r.value) != ClipMode::None;
            clip = ClipModeOf(r.value) == ClipMode::Rect ? r.rect : r.path.boundingRect();
            break;
        case EmrExtTextOutW: {
            TextRun t;
            t.Text = GlyphsToText(*r.face, r.glyphs);
            t.Origin = world.map(r.origin);
            t.Top = int(std::lround(t.Origin.y() - r.face->Ascent() * world.m22()));
            t.Height = int(std::lround(r.face->Height() * world.m22()));
            t.PixelSize = r.face->PixelSize();
            t.XScale = r.face->XScale();
            t.Family = r.face->Font().family();
            t.Bold = r.face->Font().bold();
            t.Color = textColor;
            t.Clipped = clipped;
            t.Clip = clip;
            out.Texts.push_back(t);
            break;
        }
        case EmrPolyPolyline:
            for (const QLineF &l : r.lines)
                out.Lines.push_back({world.map(l), penColor, penWidth});
            break;
        case EmrPolyline:
            for (qsizetype i = 1; i < r.points.size(); ++i)
                out.Lines.push_back({world.map(QLineF(r.points[i - 1], r.points[i])), penColor, penWidth});
            break;
        case EmrStretchDIBits:
        case RecTiledImage:
        case EmrPolygon:
        case EmrRectangle:
        case EmrEllipse:
        case EmrStrokeAndFillPath:
        case RecTextPath:
            ++out.Images;
            break;
        default:
            break;
        }
        return true;
    });
    return out;
}

QImage RenderPage(const platform::PageMetafile &page, qreal scale)
{
    const QSize size = page.Size();
    QImage img(int(size.width() * scale), int(size.height() * scale), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    page.Play(p, QRectF(0, 0, img.width(), img.height()));
    return img;
}

} // namespace wydtest
