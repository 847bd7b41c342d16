#pragma once
// Reading a page picture back as the records it holds: text runs with their font, colour,
// position and clip, lines with their pen. Layout tests assert on these.
#include "platform/metafile/PageMetafile.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

#include <vector>

namespace wydtest {

struct TextRun {
    QString Text;
    // In page units, through the world transform in force.
    QPointF Origin;    // start of the baseline
    int Top = 0;       // top of the character cell: the baseline less the font's ascent
    int Height = 0;    // the font's cell height
    int PixelSize = 0; // the font's character height
    qreal XScale = 1;  // the font's horizontal stretch
    QString Family;
    bool Bold = false;
    QColor Color;
    bool Clipped = false; // a clip rectangle was in force
    QRectF Clip;
    // Part of the run the clip lets through (everything when unclipped).
    bool Visible() const;
};

struct LineRun {
    QLineF Line;
    QColor Color;
    qreal Width = 0;
};

struct PageRecords {
    std::vector<TextRun> Texts;
    std::vector<LineRun> Lines;
    int Images = 0; // records that draw pixels of pictures or fills
    // The texts top to bottom, joined with "|".
    QString JoinedTexts() const;
    const TextRun *Find(const QString &text) const;
};

PageRecords ReadPage(const platform::PageMetafile &page);

// The page played onto a white image of its own size.
QImage RenderPage(const platform::PageMetafile &page, qreal scale = 1.0);

} // namespace wydtest
